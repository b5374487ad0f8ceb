#!/usr/bin/env bash
# Builds the toolkit-free core (everything but the Qt hosts, zavctl and zavmon) and its
# headless tests for 64-bit Windows with Debian's MinGW-w64 cross compiler in
# build-windows/, and runs the tests under wine. Not part of scripts/test.sh: wine's first
# start alone takes a while. Usage: scripts/cross-check.sh [--build-only]
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash scripts/install-deps.sh cross

build=build-windows
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DZAV_WITH_QT=OFF -DZAV_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"

if [ "${1:-}" != "--build-only" ]; then
  # A prefix of its own, made once, so that wine neither asks nor touches the user's.
  export WINEPREFIX=${WINEPREFIX:-$PWD/$build/wine}
  export WINEDEBUG=-all
  ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 900 -LE slow
fi

took=$((SECONDS - started))
printf 'Total: %d min %02d s\n' $((took / 60)) $((took % 60))
