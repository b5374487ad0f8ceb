#!/usr/bin/env bash
# The whole test suite: dependencies, a normal build with every test, a second build with
# AddressSanitizer and UndefinedBehaviorSanitizer, the formatting check and the layering check.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh test

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

echo "== Formatting and layers"
bash scripts/check-format.sh
bash scripts/check-layers.sh

echo "== Build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600 -LE "^soak$"

echo "== Build and test with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZAV_SANITIZE=address,undefined \
  -DZAV_BENCH=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900 -LE slow

# libFuzzer comes with clang: a short run of every fuzz target (the plain random runs are
# among the tests above).
if command -v clang++ >/dev/null; then
  echo "== Short libFuzzer run"
  bash scripts/fuzz.sh "${ZAV_FUZZ_SECONDS:-20}"
fi
