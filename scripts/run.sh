#!/usr/bin/env bash
# Builds ZAV Monitor and runs it against the virtual controller (zavsim) on a
# pseudo-terminal, in a demo working folder (.run/) whose "zavmon.cfg" names COM1 and
# holds a small library of named configurations. Closing the window stops the simulator.
# Without a display it runs under Xvfb for a few seconds and saves a screenshot; it fails
# when the window did not stay up that long (the test suite runs it so).
# Arguments go to the simulator: `scripts/run.sh --drive cycle --gas-need 2.20,1.30` gives
# an engine to calibrate (see `build/sim/zavsim --help`, or `scripts/run.sh --help`).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# --help: what this script does and the simulator's options, without starting anything.
for argument in "$@"; do
  if [ "$argument" = --help ] || [ "$argument" = -h ]; then
    sed -n '2,8s/^# \{0,1\}//p' "$0"
    echo
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build -j "$(nproc)" --target zavsim >/dev/null
    "$root/build/sim/zavsim" --help
    exit 0
  fi
done

bash scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target zavmon zavsim

work="$root/.run"
mkdir -p "$work"
bash scripts/demo-settings.sh "$work/zavmon.cfg"

# The simulator prints its pseudo-terminal on its first line of output.
coproc SIM { exec "$root/build/sim/zavsim" --pty --firmware-out "$work/received.zav" "$@"; }
sim_pid=$SIM_PID
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
read -r -t 10 pty <&"${SIM[0]}"
echo "Virtual controller on $pty (COM1)."
export ZAVMON_COM1="$pty"
cd "$work"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting ZAV Monitor; close its window to stop."
  "$root/build/app/zavmon"
  exit 0
fi

shot="$work/zavmon-screenshot.png"
display=:$((90 + RANDOM % 9))
echo "No display: running under Xvfb on $display for a few seconds."
Xvfb "$display" -screen 0 1600x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$app_pid" "$xvfb_pid" "$sim_pid" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
sleep 1
# On the Xvfb display itself, whatever platform the caller chose (the test suite runs Qt offscreen).
DISPLAY=$display QT_QPA_PLATFORM=xcb ZAVMON_DEMO_LIVE_CHART=1 "$root/build/app/zavmon" &
app_pid=$!
sleep 8
DISPLAY=$display import -window root "$shot"
# A window that ended early leaves a picture of an empty screen: say so rather than point at it.
if ! kill -0 "$app_pid" 2>/dev/null; then
  echo "ZAV Monitor ended within its first 8 s (see its output above); the screenshot shows no window." >&2
  exit 1
fi
# A window drawn elsewhere (offscreen) leaves the screen black: no picture to point at either.
if [ "$(convert "$shot" -format '%[fx:maxima]' info:)" = 0 ]; then
  echo "ZAV Monitor runs, but nothing of it reached the screen $display: $shot is black." >&2
  exit 1
fi
echo "Screenshot of the running window and its live chart: $shot"
