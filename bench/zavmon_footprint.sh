#!/usr/bin/env bash
# Start-up time of zavmon to its first live poll on the wire, its CPU use while idle over
# 30 s of polling, and its resident memory, against zavsim on a pseudo-terminal. Runs
# offscreen (no display needed). Usage: bench/zavmon_footprint.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/bench_common.sh
build=${1:-build-bench}
bash scripts/install-deps.sh build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" --target zavmon zavsim >/dev/null

work=$(mktemp -d)
trap 'kill "${app:-}" "${sim:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
printf 'COM1' >"$work/zavmon.cfg"

"$build/sim/zavsim" --pty --log >"$work/sim.out" 2>"$work/sim.log" &
sim=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
pty=$(head -n 1 "$work/sim.out")

start=$(date +%s%N)
(cd "$work" && ZAVMON_COM1=$pty QT_QPA_PLATFORM=offscreen exec "$OLDPWD/$build/app/zavmon") &
app=$!
until grep -q "^request Q 32 " "$work/sim.log"; do sleep 0.005; done
first=$(date +%s%N)
echo "start-up to the first live poll on the wire: $(( (first - start) / 1000000 )) ms"

ticks=$(getconf CLK_TCK)
before=$(cpu_ticks "$app")
sleep 30
after=$(cpu_ticks "$app")
echo "CPU while polling for 30 s: $(( (after - before) * 1000 / ticks )) ms ($(( (after - before) * 100000 / ticks / 30000 )).$(( (after - before) * 100000 / ticks / 3000 % 10 )) %)"
echo "resident memory: $(rss_kb "$app") kB"
echo "live polls answered in 30 s: $(grep -c '^request Q 32 ' "$work/sim.log")"
