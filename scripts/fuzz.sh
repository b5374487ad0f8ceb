#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (every library they call instrumented,
# AddressSanitizer and UndefinedBehaviorSanitizer on, with debug information) in build-fuzz/,
# then runs each for SECONDS (default 60) from its seed corpus in fuzz/corpus/, with
# libFuzzer's own output on the terminal. What a run finds new is kept in
# build-fuzz/corpus/; a crash is left as a file in build-fuzz/crashes/ and makes the script
# fail once every target has run. Usage: scripts/fuzz.sh [SECONDS] [TARGET...]
# ZAV_FUZZ_BUILD names a build folder already configured with ZAV_FUZZ=ON (the test suite's
# sanitizer build) to use as it is instead of build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${ZAV_FUZZ_BUILD:-build-fuzz}
targets=(receiver_fuzz config_library_fuzz parameter_file_fuzz upload_fuzz
         request_receiver_fuzz xmodem_receiver_fuzz csv_log_fuzz)
if [ $# -gt 1 ]; then
  targets=("${@:2}")
fi

bash scripts/install-deps.sh test
if [ -z "${ZAV_FUZZ_BUILD:-}" ]; then
  launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAV_FUZZ=ON \
    -DZAV_WITH_QT=OFF -DZAV_TESTS=OFF -DZAV_BENCH=OFF "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

mkdir -p "$build/crashes" "$build/logs"
summary=()
failed=0
for target in "${targets[@]}"; do
  echo "== $target, $seconds s"
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  log="$build/logs/$target.log"
  status=0
  # An upload needs some 250 controller bytes to run its course; longer inputs only slow
  # the target down. The files and the receivers' streams get room for many records.
  max_len=8192
  [ "$target" = upload_fuzz ] && max_len=1024
  "$build/fuzz/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
    "$corpus" "fuzz/corpus/$target" 2>&1 | tee "$log" || status=$?
  executions=$(awk '/^stat::number_of_executed_units/ {print $2}' "$log")
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  line="$target: ${executions:-?} executions, coverage ${coverage:-?} points"
  if [ "$status" -ne 0 ]; then
    line="$line, FAILED (see $build/crashes/)"
    failed=1
  fi
  summary+=("$line")
done

echo "== Summary ($seconds s a target)"
printf '%s\n' "${summary[@]}"
exit "$failed"
