#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (every library they call instrumented,
# AddressSanitizer and UndefinedBehaviorSanitizer on, with debug information) in build-fuzz/,
# then runs each for SECONDS (default 60) from its seed corpus in fuzz/corpus/, as many at
# once as there are cores, libFuzzer's own output shown as each run ends. What a run finds new is kept in
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
# One target per core at a time: a fuzz run is all computing, so two targets side by side on
# two cores get the same number of executions each as one after the other, in half the time.
# Each run's output goes to its log, shown whole when the run ends.
run_target() {
  local target=$1 max_len=8192 status=0
  local corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  # An upload needs some 250 controller bytes to run its course; longer inputs only slow
  # the target down. The files and the receivers' streams get room for many records.
  [ "$target" = upload_fuzz ] && max_len=1024
  "$build/fuzz/$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" \
    "$corpus" "fuzz/corpus/$target" >"$build/logs/$target.log" 2>&1 || status=$?
  echo "$status" >"$build/logs/$target.status"
  echo "== $target, $seconds s"
  cat "$build/logs/$target.log"
}

parallel=$(nproc)
running=0
for target in "${targets[@]}"; do
  rm -f "$build/logs/$target.status"
  run_target "$target" &
  running=$((running + 1))
  if [ "$running" -ge "$parallel" ]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

summary=()
failed=0
for target in "${targets[@]}"; do
  log="$build/logs/$target.log"
  status=$(cat "$build/logs/$target.status" 2>/dev/null || echo 1)
  executions=$(awk '/^stat::number_of_executed_units/ {print $2}' "$log")
  coverage=$(grep -o 'cov: [0-9]*' "$log" | tail -n 1 | cut -d' ' -f2)
  line="$target: ${executions:-?} executions, coverage ${coverage:-?} points"
  if [ "$status" -ne 0 ]; then
    line="$line, FAILED (see $build/crashes/)"
    failed=1
  fi
  summary+=("$line")
done

echo "== Summary ($seconds s a target, $parallel at a time)"
printf '%s\n' "${summary[@]}"
exit "$failed"
