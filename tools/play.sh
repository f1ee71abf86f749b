#!/usr/bin/env bash
# Installs what is missing, builds Meldora (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/packages.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DMELDORA_BUILD_TESTS=OFF
cmake --build build -j"$(nproc)"
exec build/app/meldora "$@"
