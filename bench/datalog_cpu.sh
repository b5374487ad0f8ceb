#!/usr/bin/env bash
# CPU of the program polling zavsim with the live chart open and a recording running, as a
# ratio to the same program with neither, both run side by side at the same time (each
# against its own zavsim), so a busy machine weighs on both alike. Then the time to open a
# one-hour log. Usage: bench/datalog_cpu.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build-bench}
bash scripts/install-deps.sh build
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j 2 --target datalog_bench zavsim >/dev/null

work=$(mktemp -d)
trap 'kill ${sims:-} 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/sim/zavsim" --pty >"$work/plain.out" 2>/dev/null &
sims="$!"
"$build/sim/zavsim" --pty >"$work/chart.out" 2>/dev/null &
sims="$sims $!"
for _ in $(seq 100); do [ -s "$work/plain.out" ] && [ -s "$work/chart.out" ] && break; sleep 0.05; done
plain_pty=$(head -n 1 "$work/plain.out")
chart_pty=$(head -n 1 "$work/chart.out")

ZAVMON_COM1=$plain_pty "$build/bench/datalog_bench" poll "$seconds" >"$work/plain.txt" 2>/dev/null &
plain=$!
ZAVMON_COM1=$chart_pty "$build/bench/datalog_bench" poll "$seconds" both >"$work/chart.txt" 2>/dev/null &
chart=$!
wait "$plain" "$chart"
cat "$work/plain.txt" "$work/chart.txt"
awk '/CPU/ {for (i = 1; i <= NF; ++i) if ($i == "CPU") cpu[NR] = $(i + 1)}
     END {if (cpu[1] > 0) printf "ratio (chart + recording) / (neither): %.2f\n", cpu[2] / cpu[1]}' \
  "$work/plain.txt" "$work/chart.txt"

"$build/bench/datalog_bench" open-log 24000 2>/dev/null
