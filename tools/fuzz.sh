#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a
# bounded time (MELDORA_FUZZ_SECONDS, 30 by default) from its seed corpus in
# tools/fuzz/corpus/. Fails on a crash, a leak, undefined behaviour, a slow
# input (hang) or running out of memory; the input that did it is left in
# build-fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${MELDORA_FUZZ_SECONDS:-30}"
build=build-fuzz
targets=(saved_game_fuzzer ini_fuzzer settings_values_fuzzer partner_messages_fuzzer)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMELDORA_BUILD_FUZZERS=ON -DMELDORA_BUILD_GUI=OFF -DMELDORA_BUILD_TESTS=OFF \
  -DCMAKE_CXX_COMPILER_LAUNCHER= >/dev/null
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

mkdir -p "$build/artifacts"
for target in "${targets[@]}"; do
  # New inputs go to a scratch corpus; the committed seeds are only read.
  work="$build/corpus/$target"
  mkdir -p "$work"
  log="$build/$target.log"
  # A dictionary of the words and edge values of the target's format, where there is one.
  dict=()
  [ -f "tools/fuzz/${target%_fuzzer}.dict" ] && dict=(-dict="tools/fuzz/${target%_fuzzer}.dict")
  # The network receiving end faces another machine: it gets twice the time.
  target_seconds="$seconds"
  [ "$target" = partner_messages_fuzzer ] && target_seconds=$((seconds * 2))
  echo "Fuzzing $target for ${target_seconds} s"
  if ! "$build/tools/fuzz/$target" "$work" "tools/fuzz/corpus/$target" \
      "${dict[@]}" -max_total_time="$target_seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$target-" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "$target found a fault; see $log and $build/artifacts/" >&2
    exit 1
  fi
  grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$log" | tail -n 2
done
