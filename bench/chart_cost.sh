#!/usr/bin/env bash
# What a chart window costs the running program, each figure from programs run side by side
# at the same time (two of each kind, each polling its own zavsim), so a busy machine weighs
# on both alike:
#   - CPU: the window with the live chart open and a recording running against the window
#     alone, 60 s after the first 5 s, the two of each kind summed (target: ratio <= 1.2);
#   - resident memory of the same at the end, each kind's mean (target: the chart's <= the
#     window's + 3 MB);
# then the time to open a one-hour log (24,000 rows) to a drawn chart (target <= 150 ms).
# Runs under Xvfb (as bench/idle_cost.sh), or offscreen with QT_QPA_PLATFORM=offscreen.
# Each run appends its figures, with the machine's load, to bench/chart_cost_results.txt.
#
# Usage: bench/chart_cost.sh [RUNS] [BUILD_DIR]     (default 3 runs, build dir build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/bench_common.sh
runs=${1:-3}
build=${2:-build-bench}
seconds=60  # a CPU figure of a few hundred ms is too coarse over less
results=bench/chart_cost_results.txt
cmake --build "$build" -j 2 --target zavsim datalog_bench >/dev/null

work=$(mktemp -d)
pids=()
sims=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

if [ "${QT_QPA_PLATFORM:-}" != offscreen ]; then
  start_xvfb
  pids+=("$xvfb_pid")
fi

# sim NAME: a zavsim on a pseudo-terminal, its path the first line of $work/NAME.out.
sim() {
  "$build/sim/zavsim" --pty >"$work/$1.out" 2>/dev/null &
  sims+=($!)
  for _ in $(seq 100); do [ -s "$work/$1.out" ] && break; sleep 0.05; done
}

# Two programs of each kind side by side, each polling its own zavsim: one program's CPU time
# moves by some 10 % from run to run, the sum of two by less.
chart_run() {
  local programs=()
  for name in plain1 plain2 chart1 chart2; do
    sim "$name"
    local mode=""
    [[ $name == chart* ]] && mode=both
    ZAVMON_COM1=$(head -n 1 "$work/$name.out") "$build/bench/datalog_bench" poll "$seconds" $mode \
      >"$work/$name.txt" 2>/dev/null &
    programs+=($!)
  done
  wait "${programs[@]}"
  awk '/CPU/ {for (i = 1; i <= NF; ++i) {if ($i == "CPU") cpu[FILENAME] = $(i + 1)
                                          if ($i == "resident") mib[FILENAME] = $(i + 1)}}
       END {p = cpu[ARGV[1]] + cpu[ARGV[2]]; c = cpu[ARGV[3]] + cpu[ARGV[4]]
            printf "chart + recording CPU %.0f + %.0f ms against the window alone %.0f + %.0f ms, ratio %.2f\n",
                   cpu[ARGV[3]], cpu[ARGV[4]], cpu[ARGV[1]], cpu[ARGV[2]], (p > 0 ? c / p : 0)
            pm = (mib[ARGV[1]] + mib[ARGV[2]]) / 2; cm = (mib[ARGV[3]] + mib[ARGV[4]]) / 2
            printf "resident memory %.1f MiB against %.1f MiB, %+.1f MiB\n", cm, pm, cm - pm}' \
    "$work/plain1.txt" "$work/plain2.txt" "$work/chart1.txt" "$work/chart2.txt"
}

{
  echo
  results_heading bench/chart_cost.sh "$build" "platform $QT_QPA_PLATFORM"
} | tee -a "$results"
for run in $(seq "$runs"); do
  {
    echo "run $run, load average before: $(load)"
    chart_run
    # A run is a subshell of the pipe below: its simulators end with it, not with the trap.
    kill "${sims[@]}" 2>/dev/null || true
    "$build/bench/datalog_bench" open-log 24000 2>/dev/null
    echo "  load average after: $(load)"
  } | sed 's/^/  /' | tee -a "$results"
done
