#!/usr/bin/env bash
# zavmon's idle cost held against a plain event-driven Qt poller (bench/event_poller.cpp),
# both run side by side at the same time, each against its own zavsim, under one Xvfb, so a
# busy machine weighs on both alike. Per run:
#   1. zavmon's window and the poller, 30 s of polling: CPU time (utime + stime from /proc)
#      and resident memory of each, and their ratios (targets: CPU <= 0.5, memory <= 1.1);
#   2. a block read (zavctl read) and a firmware upload (zavctl flash, 30,720 bytes) against
#      zavsim, wall time (as today: 3.5 s and 34.3 s).
# Each run appends its figures, with the machine's load, to bench/idle_cost_results.txt.
# What a chart window and a recording add: bench/chart_cost.sh.
#
# Usage: bench/idle_cost.sh [RUNS] [BUILD_DIR]     (default 3 runs, build dir build)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/bench_common.sh
runs=${1:-3}
build=${2:-build}
seconds=30
results=bench/idle_cost_results.txt
cmake --build "$build" -j 2 --target zavmon zavsim zavctl event_poller >/dev/null

work=$(mktemp -d)
pids=()
sims=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

start_xvfb
pids+=("$xvfb_pid")

# sim NAME [ZAVSIM OPTIONS]: a zavsim on a pseudo-terminal behind $work/NAME/line.
sim() {
  local dir=$work/$1
  shift
  mkdir -p "$dir"
  rm -f "$dir/line"  # a link left by the last run's simulator is not this one's
  "$build/sim/zavsim" --pty --link "$dir/line" "$@" >"$dir/sim.out" 2>"$dir/sim.log" &
  pids+=($!)
  sims+=($!)
  for _ in $(seq 100); do [ -L "$dir/line" ] && break; sleep 0.05; done
}

hz=$(getconf CLK_TCK)

# One run of zavmon's window beside the poller; prints a line of figures.
idle_run() {
  sim window
  sim poller
  printf 'COM1' >"$work/window/zavmon.cfg"
  (cd "$work/window" && ZAVMON_COM1=$work/window/line exec "$OLDPWD/$build/app/zavmon") \
    >"$work/window/app.log" 2>&1 &
  local app=$!
  pids+=($app)
  "$build/bench/event_poller" "$work/poller/line" >"$work/poller/app.log" 2>&1 &
  local poller=$!
  pids+=($poller)
  sleep 5  # start-up is not part of either figure
  local a0 p0 a1 p1
  a0=$(cpu_ticks "$app")
  p0=$(cpu_ticks "$poller")
  sleep "$seconds"
  a1=$(cpu_ticks "$app")
  p1=$(cpu_ticks "$poller")
  local arss prss
  arss=$(rss_kb "$app")
  prss=$(rss_kb "$poller")
  kill "$app" "$poller"
  awk -v a=$((a1 - a0)) -v p=$((p1 - p0)) -v ar="$arss" -v pr="$prss" -v hz="$hz" \
    -v s="$seconds" 'BEGIN {
    printf "idle %d s: zavmon %.0f ms (%.2f %%), poller %.0f ms (%.2f %%), CPU ratio %.2f;",
      s, a * 1000 / hz, a * 100 / hz / s, p * 1000 / hz, p * 100 / hz / s, (p > 0 ? a / p : 0)
    printf " memory zavmon %.1f MiB, poller %.1f MiB, ratio %.2f\n", ar / 1024, pr / 1024, ar / pr
  }'
}

# A block read and an upload through zavctl, the same poll cycle and device as the window.
transfer_run() {
  sim transfer --firmware-out "$work/kept.zav"
  head -c 30720 /dev/urandom >"$work/fw.zav"
  local start mid end
  start=$(date +%s%N)
  "$build/cli/zavctl" --port "$work/transfer/line" read -o "$work/read.car" >/dev/null 2>&1
  mid=$(date +%s%N)
  "$build/cli/zavctl" --port "$work/transfer/line" flash "$work/fw.zav" --yes >/dev/null 2>&1
  end=$(date +%s%N)
  local same=no
  cmp -s "$work/fw.zav" "$work/kept.zav" && same=yes
  awk -v r=$(((mid - start) / 1000000)) -v u=$(((end - mid) / 1000000)) -v same="$same" \
    'BEGIN {printf "block read %.1f s, upload %.1f s (image arrived whole: %s)\n", r / 1000, u / 1000, same}'
}

{
  echo
  results_heading bench/idle_cost.sh "$build"
} | tee -a "$results"
for run in $(seq "$runs"); do
  {
    echo "run $run, load average before: $(load)"
    idle_run
    transfer_run
    # A run is a subshell of the pipe below: its simulators end with it, not with the trap.
    kill "${sims[@]}" 2>/dev/null || true
    echo "  load average after: $(load)"
  } | sed 's/^/  /' | tee -a "$results"
done
