#!/usr/bin/env bash
# Resident memory of the whole program on the Qt host (offscreen) against zavsim on a
# pseudo-terminal with line faults on, for SECONDS of real time (default 600): it polls all
# along, reads the parameter block every 30 s, and prints its resident memory every 10 s and
# how far it grew after the first minute (the figure should stay under 1 MB).
# With --asan it is built with AddressSanitizer and its leak check runs at exit.
# Usage: bench/memory_flat.sh [--asan] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
asan=0
if [ "${1:-}" = "--asan" ]; then
  asan=1
  shift
fi
seconds=${1:-600}

bash scripts/install-deps.sh build
if [ "$asan" = 1 ]; then
  build=build-bench-asan
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAV_TESTS=OFF \
    -DZAV_SANITIZE=address >/dev/null
else
  build=build-bench
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZAV_TESTS=OFF >/dev/null
fi
cmake --build "$build" -j 2 --target memory_flat zavsim >/dev/null

work=$(mktemp -d)
trap 'kill "${sim:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
printf 'COM1' >"$work/zavmon.cfg"

# About one answer frame in twenty meets a byte fault; a 4 s silence every 2 minutes.
"$build/sim/zavsim" --pty --log --seed 7 --drop 0.003 --corrupt 0.003 --duplicate 0.003 \
  --split 0.01 --stray 0.01 --drop-input 0.002 --silence-every 120000 --silence-for 4000 \
  >"$work/sim.out" 2>"$work/sim.log" &
sim=$!
for _ in $(seq 100); do [ -s "$work/sim.out" ] && break; sleep 0.05; done
pty=$(head -n 1 "$work/sim.out")

echo "zavmon against zavsim with line faults, $seconds s of real time"
(cd "$work" && ZAVMON_COM1=$pty QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 \
  exec "$OLDPWD/$build/bench/memory_flat" "$seconds")
echo "register 80 requests on the wire (block reads, including retries): $(grep -c '^request Q 80 ' "$work/sim.log")"
