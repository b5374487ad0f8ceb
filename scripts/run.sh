#!/usr/bin/env bash
# Builds the project and starts the virtual ZAV controller on a pseudo-terminal, ready for
# a tool to connect. Stop it with Ctrl+C.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target zavsim

echo "Starting the virtual ZAV controller (zavsim). Stop it with Ctrl+C."
exec build/sim/zavsim --pty "$@" | {
  read -r path
  echo "The controller answers on $path at 9600 baud."
  echo "Point the tool's COM1 at it:  export ZAVMON_COM1=$path"
  cat
}
