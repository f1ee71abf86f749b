#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test without a display.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/packages.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=Release -DMELDORA_BUILD_TESTS=ON
cmake --build build-test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy
cd build-test
ctest --output-on-failure -j"$(nproc)" --timeout 600
cd ..
# Each file reader is fuzzed for about 30 s; a crash, leak or hang fails the run.
tools/fuzz.sh
