#!/usr/bin/env bash
# The Windows stage of the suite: the MinGW-w64 build of the core, the Windows hosts and
# their tests in build-windows/, the tests under wine, then the Windows serial device
# against zavsim on pseudo-terminals mapped to COM ports in a wine prefix of the build's own.
# Needs the Linux build's zavsim (build/sim/zavsim). Usage: scripts/windows-stage.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows

build=build-windows
zavsim=${ZAVSIM:-$PWD/build/sim/zavsim}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DZAV_WITH_QT=OFF -DZAV_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)"

# A prefix of the build's own, so that wine neither asks nor touches the user's.
export WINEPREFIX=$PWD/$build/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko
work=$(mktemp -d)
simulators=()
finish() {
  for pid in "${simulators[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  timeout 30 wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
timeout 300 wineboot --init >/dev/null 2>&1 || true

# zavsim on a pseudo-terminal behind a link that stays put; COMn maps to the link.
serve() {
  local name=$1
  shift
  "$zavsim" --pty --link "$work/$name" "$@" >"$work/$name.out" 2>"$work/$name.log" &
  simulators+=($!)
  for _ in $(seq 50); do
    [ -e "$work/$name" ] && return 0
    sleep 0.1
  done
  echo "zavsim did not start for $name" >&2
  return 1
}
map_port() {
  timeout 60 wine reg add 'HKLM\Software\Wine\Ports' /v "$1" /t REG_SZ /d "$2" /f >/dev/null
}

serve com1
serve com2 --unplug-after 12 --unplug-for 3
map_port COM1 "$work/com1"
map_port COM2 "$work/com2"
timeout 30 wineserver -k 2>/dev/null || true  # the mapping takes effect at wine's next start

export ZAV_TEST_PORT=COM1 ZAV_TEST_REPLUG_PORT=COM2
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 900 -LE "slow|win32"
ctest --test-dir "$build" --output-on-failure --timeout 300 -L win32
