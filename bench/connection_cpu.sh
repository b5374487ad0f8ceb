#!/usr/bin/env bash
# CPU of zavmon while it polls zavsim for 30 s, and while the device is gone for 30 s,
# against the same two runs of an earlier commit (the one before the connection's status
# line and reconnection), both programs side by side at the same time so they share the
# machine's load. Each program has its own zavsim behind a link that is pulled out after
# 40 s for 45 s. Runs offscreen.
#
# Usage: bench/connection_cpu.sh [BASE_COMMIT] [BUILD_DIR]
#   BASE_COMMIT  the commit to compare with (default 41b60dd)
#   BUILD_DIR    this tree's build (default build); the base is built in build-bench-base/
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/bench_common.sh
base_commit=${1:-41b60dd}
build=${2:-build}
base_root=build-bench-base
type=RelWithDebInfo

# The same build type for both, so the comparison is of the code alone.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=$type >/dev/null
cmake --build "$build" -j 2 --target zavmon zavsim >/dev/null
# The base's sources are unpacked once per commit, so a second run rebuilds nothing.
if [ "$(cat "$base_root/commit" 2>/dev/null)" != "$(git rev-parse "$base_commit")" ]; then
  rm -rf "$base_root/src"
  mkdir -p "$base_root/src"
  git archive "$base_commit" | tar -x -C "$base_root/src"
  git rev-parse "$base_commit" >"$base_root/commit"
fi
cmake -S "$base_root/src" -B "$base_root/src/build" -G Ninja -DCMAKE_BUILD_TYPE=$type \
  -DZAV_TESTS=OFF -DZAV_BENCH=OFF >/dev/null
cmake --build "$base_root/src/build" -j 2 --target zavmon >/dev/null

work=$(mktemp -d)
pids=()
trap 'for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; rm -rf "$work"' EXIT

# start NAME ZAVMON: zavsim behind $work/NAME/line, then zavmon on it as COM1; the
# program's process id is left in $started.
start() {
  local dir=$work/$1
  mkdir -p "$dir"
  printf 'COM1' >"$dir/zavmon.cfg"
  "$build/sim/zavsim" --pty --link "$dir/line" --unplug-after 40 --unplug-for 45 \
    >"$dir/sim.out" 2>"$dir/sim.log" &
  pids+=($!)
  for _ in $(seq 100); do [ -L "$dir/line" ] && break; sleep 0.05; done
  (cd "$dir" && ZAVMON_COM1=$dir/line QT_QPA_PLATFORM=offscreen exec "$OLDPWD/$2") \
    >"$dir/zavmon.log" 2>&1 &
  started=$!
  pids+=($started)
}

start new "$build/app/zavmon"
new=$started
start base "$base_root/src/build/app/zavmon"
old=$started
hz=$(getconf CLK_TCK)

measure() {  # label: prints the CPU of each over the next 30 s and their ratio
  local n0 o0 n1 o1
  n0=$(cpu_ticks "$new")
  o0=$(cpu_ticks "$old")
  sleep 30
  n1=$(cpu_ticks "$new")
  o1=$(cpu_ticks "$old")
  awk -v label="$1" -v n=$((n1 - n0)) -v o=$((o1 - o0)) -v hz="$hz" 'BEGIN {
    printf "%-32s this tree %6.0f ms   base %6.0f ms   ratio %s\n", label,
      n * 1000 / hz, o * 1000 / hz, (o > 0 ? sprintf("%.2f", n / o) : "n/a")
  }'
}

sleep 5   # start-up is not part of either figure
measure "polling, 30 s"
sleep 8   # the unplug at 40 s, and the first reopen tries
measure "device gone, 30 s"
