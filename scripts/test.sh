#!/usr/bin/env bash
# Installs what is needed, builds Marlix with its tests, and runs every test through ctest: the whole
# suite (unit, window and end-to-end tests, and the Debian package built with cpack and checked), then
# the unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMARLIX_SANITIZE=ON -DMARLIX_BUILD_GUI=OFF \
      -DMARLIX_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1
(cd build-asan && ctest --output-on-failure -j"$jobs" -L unit)
