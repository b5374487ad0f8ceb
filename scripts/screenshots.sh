#!/usr/bin/env bash
# Pictures of the main window and the Parameters dialog for the README: runs ZAV Monitor
# against zavsim under Xvfb, opens File -> Edit with xdotool and saves both windows.
# Usage: scripts/screenshots.sh OUT_DIR [ZAVMON] [ZAVSIM]   (QT_SCALE_FACTOR is passed on)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$(realpath -m "$1")
zavmon=$(realpath "${2:-build/app/zavmon}")
zavsim=$(realpath "${3:-build/sim/zavsim}")
mkdir -p "$out"
work=$(mktemp -d)
bash scripts/demo-settings.sh "$work/zavmon.cfg"

coproc SIM { exec "$zavsim" --pty; }
sim_pid=$SIM_PID
read -r -t 10 pty <&"${SIM[0]}"
display=:$((70 + RANDOM % 19))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
app_pid=
trap 'kill $app_pid "$xvfb_pid" "$sim_pid" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display
(cd "$work" && ZAVMON_COM1="$pty" exec "$zavmon") &
app_pid=$!
sleep 5
main=$(xdotool search --name "ZAV Monitor" | head -1)
import -window "$main" "$out/main-window.png"
# File is the first menu title; its third item, Edit, opens the Parameters dialog.
scale=${QT_SCALE_FACTOR:-1}
xdotool mousemove --window "$main" "$((12 * scale))" "$((10 * scale))" click 1
sleep 1
xdotool key Down Down Down Return
sleep 2
parameters=$(xdotool search --name "^Parameters$" | head -1)
import -window "$parameters" "$out/parameters.png"
echo "Saved $out/main-window.png and $out/parameters.png"
