#!/usr/bin/env bash
# The whole test suite: dependencies, the formatting, layering and documentation checks, a
# normal build (gcc) with every test and the demo, the Windows stage, then one clang build
# that serves twice: every test again under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets (libFuzzer), built in the same tree from the same instrumented
# libraries, for a short run each. Prints the time each stage took and the total. ccache is
# used when present (install-deps installs it).
#
# Most of the tests' time is spent waiting on lines at 9600 baud, not computing, so the
# stages run in two lanes side by side: the gcc build, its tests, the demo and the Windows
# stage in the first; the MinGW-w64 and clang builds in the second, at a lower priority, on
# the cores the first leaves idle. Then the tests under the sanitizers alone, and the fuzz
# run last. Each lane writes to its own log in build-logs/, shown when the lane ends.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

stage_started=$SECONDS
stage() {
  local took=$((SECONDS - stage_started))
  [ -n "${stage_name:-}" ] && timings+=("$(printf '%4d s  %s' "$took" "$stage_name")")
  stage_name=$1
  stage_started=$SECONDS
  [ -n "$1" ] && echo "== $1"
  return 0
}
timings=()

stage "Dependencies"
bash scripts/install-deps.sh test run windows

jobs=$(nproc)
# Most of the tests' time is waiting on a line at 9600 baud (zavsim, lrzsz, the Qt window on
# a pseudo-terminal), not computing: four tests a core keep the cores busy; every bound a
# real-time test waits for is generous enough for that load.
test_jobs=$((jobs * 4))
export QT_QPA_PLATFORM=offscreen
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

# The tests that check numbers in files under a decimal comma need that locale: made here,
# and required (a test that finds none fails rather than skips).
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
export ZAV_REQUIRE_COMMA_LOCALE=1

stage "Formatting and layers"
bash scripts/check-format.sh
bash scripts/check-layers.sh
bash scripts/check-docs.sh


logs=$PWD/build-logs
mkdir -p "$logs"
lane_times=$logs/stage-times
: >"$lane_times"
rm -f "$logs"/windows-build.*
# timed NAME COMMAND...: runs the command and notes how long it took under NAME.
timed() {
  local name=$1 began=$SECONDS
  shift
  echo "== $name"
  local status=0
  "$@" || status=$?
  printf '%4d s  %s\n' $((SECONDS - began)) "$name" >>"$lane_times"
  return "$status"
}
# lane LOG FUNCTION: runs a lane's function in the background, its output into build-logs/LOG.
lane() {
  local log=$logs/$1
  shift
  (
    set -euo pipefail
    "$@"
  ) >"$log" 2>&1 &
  lane_pids+=($!)
  lane_logs+=("$log")
}
# Waits for every lane started and shows its log; a lane that failed fails the suite.
join_lanes() {
  local failed=0 i
  for i in "${!lane_pids[@]}"; do
    if wait "${lane_pids[$i]}"; then
      cat "${lane_logs[$i]}"
    else
      cat "${lane_logs[$i]}" >&2
      echo "== FAILED: the lane logged in ${lane_logs[$i]}" >&2
      failed=1
    fi
  done
  lane_pids=()
  lane_logs=()
  local line
  while read -r line; do
    timings+=("    $line")
  done <"$lane_times"
  : >"$lane_times"
  [ "$failed" -eq 0 ] || exit 1
}
lane_pids=()
lane_logs=()

# Line tables only (-g1): a failing test's backtrace still names file and line, and each
# test object compiles about a third faster and comes out a quarter of the size of one with
# full debug information. lld, when there, links the many test programs faster.
gcc_linker=()
command -v ld.lld >/dev/null && gcc_linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld
  -DCMAKE_SHARED_LINKER_FLAGS=-fuse-ld=lld -DCMAKE_MODULE_LINKER_FLAGS=-fuse-ld=lld)
gcc_build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAV_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "${gcc_linker[@]}" \
    "${launcher[@]}" >/dev/null
  cmake --build build -j "$jobs"
}
gcc_tests() {
  ctest --test-dir build --output-on-failure -j "$test_jobs" --timeout 600 -LE "^soak$"
}
# The README's first command, as a newcomer runs it (here without a display, so under Xvfb
# for a few seconds), with the simulator's engine the calibration section uses.
demo() {
  env -u DISPLAY -u WAYLAND_DISPLAY bash scripts/run.sh --drive cycle --gas-need 2.20,1.30
}
# Their tests under wine, and zavmon.exe and zavctl.exe against zavsim (from the gcc build)
# on a port mapped in wine's registry, once the other lane has made the MinGW-w64 build.
windows_stage() {
  while [ ! -e "$logs/windows-build.done" ] && [ ! -e "$logs/windows-build.failed" ]; do
    sleep 5
  done
  [ -e "$logs/windows-build.done" ] || { echo "the Windows build failed: see its lane" >&2; return 1; }
  ZAVSIM=$PWD/build/sim/zavsim bash scripts/windows-stage.sh
}
native_lane() {
  timed "Build (gcc)" gcc_build
  timed "Test" gcc_tests
  timed "The demo (scripts/run.sh, no display)" demo
  timed "Windows (MinGW-w64, wine)" windows_stage
}

# The MinGW-w64 build of the core, the Windows hosts and both programs (the Windows stage
# below runs their tests under wine and checks them against zavsim).
windows_build() {
  bash scripts/windows-stage.sh --build-only
}
# clang, so that libFuzzer comes with it; lld links the many instrumented test programs
# faster than the system linker. Line tables are all the sanitizers' reports need (file and
# line of each frame), and compile and link faster than full debug information.
linker=()
command -v ld.lld >/dev/null && linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
clang_build() {
  # An older tree there was built with gcc; a compiler cannot be changed in place.
  if [ -f build-asan/CMakeCache.txt ] &&
    ! grep -q '^CMAKE_CXX_COMPILER:.*clang' build-asan/CMakeCache.txt; then
    rm -rf build-asan
  fi
  CXX=clang++ cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS_DEBUG=-gline-tables-only \
    -DZAV_SANITIZE=address,undefined -DZAV_FUZZ=ON -DZAV_BENCH=OFF \
    "${launcher[@]}" "${linker[@]}" >/dev/null
  cmake --build build-asan -j "$jobs"
}
# At a lower priority: the first lane's tests wait on lines and must get the CPU when they
# need it.
background_builds_lane() {
  renice -n 10 -p "$BASHPID" >/dev/null
  if timed "Build for Windows (MinGW-w64)" windows_build; then
    touch "$logs/windows-build.done"
  else
    touch "$logs/windows-build.failed"
    return 1
  fi
  timed "Build with AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer (clang)" clang_build
}

stage "Builds, the tests of the gcc build and the Windows stage (two lanes)"
lane native.log native_lane
lane background-builds.log background_builds_lane
join_lanes

# Alone: the Qt tests under the sanitizers are slow enough that a busy machine (wine, a
# window under Xvfb) delays their paints past what they wait for.
stage "Test with the sanitizers"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j "$test_jobs" --timeout 900 -LE slow

# The plain random runs of the fuzz targets are among the tests above.
stage "Short libFuzzer run"
ZAV_FUZZ_BUILD=build-asan bash scripts/fuzz.sh "${ZAV_FUZZ_SECONDS:-20}"

stage ""
total=$((SECONDS - started))
echo "== Times"
printf '%s\n' "${timings[@]}"
printf 'Total: %d min %02d s\n' $((total / 60)) $((total % 60))
