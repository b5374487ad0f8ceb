#!/usr/bin/env bash
# Builds optimised and runs every benchmark, printing what each measures.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh build
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DZAV_WITH_QT=OFF >/dev/null
cmake --build build-bench -j "$(nproc)" --target poll_tick_bench transfer_timing upload_timing \
  calibration_rounds

echo "== CPU cost of one poll tick"
build-bench/bench/poll_tick_bench
echo "== Virtual-time length of the block transfers"
build-bench/bench/transfer_timing
echo "== Virtual-time length of a firmware upload"
build-bench/bench/upload_timing
echo "== Calibration: the proposal against the simulated engine's need, and the trim left"
build-bench/bench/calibration_rounds
