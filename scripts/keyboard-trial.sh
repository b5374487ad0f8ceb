#!/usr/bin/env bash
# A fitter's first session, keyboard only, under Xvfb with a window manager (openbox):
# zavctl holds the simulator's port when ZAV Monitor starts and lets go of it a few
# seconds later; then open a .car file, read from the controller, record, stop, open the
# log and close, with xdotool keys alone. After each step it prints the window that has
# the keyboard and its focused widget's name as the window manager sees it, and saves a
# picture of the screen, so a place the keyboard cannot reach shows as a step that
# changed nothing. Also saves the main window while the port is busy and once it was got.
# Usage: scripts/keyboard-trial.sh OUT_DIR [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
out=$(realpath -m "$1")
build=$(realpath "${2:-build}")
mkdir -p "$out"
work=$(mktemp -d)
bash scripts/demo-settings.sh "$work/zavmon.cfg"

coproc SIM { exec "$build/sim/zavsim" --pty; }
sim_pid=$SIM_PID
read -r -t 10 pty <&"${SIM[0]}"
display=:$((50 + RANDOM % 19))
Xvfb "$display" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
holder_pid=
wm_pid=
app_pid=
trap 'kill $app_pid $holder_pid $wm_pid "$xvfb_pid" "$sim_pid" 2>/dev/null || true;
      wait 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display
openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1

step=0
# Waits (s), then reports which window has the keyboard and saves the screen.
look() {
  sleep "$1"
  step=$((step + 1))
  local focused
  focused=$(xdotool getwindowfocus getwindowname 2>/dev/null || echo "(none)")
  printf '%02d %-28s keyboard in: %s\n' "$step" "$2" "$focused"
  import -window root "$out/step-$(printf %02d $step).png"
}
keys() { xdotool key --delay 120 "$@"; }
type_text() { xdotool type --delay 30 "$1"; }

# Another program holds the port for 8 s from now.
"$build/cli/zavctl" --port "$pty" monitor --for 8 >/dev/null 2>&1 &
holder_pid=$!
sleep 1
(cd "$work" && ZAVMON_COM1="$pty" exec "$build/app/zavmon") &
app_pid=$!
look 2 "start, port held"
keys Return # "Error opening serial port - check setting"
look 1 "start box answered"
main=$(xdotool getactivewindow)
import -window "$main" "$out/main-busy.png"
sleep 6
import -window "$main" "$out/main-got.png"
look 0 "port got"
keys Tab
look 0.5 "Tab"
keys Tab
look 0.5 "Tab Tab"
keys Tab
look 0.5 "Tab Tab Tab"

keys ctrl+s # Save: the file dialog, type a name
look 2 "save dialog"
type_text "trial.car"
keys Return
look 2 "saved"
keys ctrl+o # Open it again: "Send data to ZAV ?" follows
look 2 "open dialog"
type_text "trial.car"
keys Return
look 2 "open: send question"
keys Escape # not sent
look 1 "open done"
keys ctrl+r # "Read from ZAV?" then the transfer dialog
look 1 "read question"
keys Return
look 6 "read done"
keys alt+l # Log: its first item, Start recording..., is the active one
look 1 "log menu"
keys Return
look 2 "record dialog"
keys Return # the proposed name
look 4 "recording"
keys alt+l
look 1 "log menu while recording"
keys Return # Stop recording: Start recording is disabled, so Stop is the first active
look 1 "stopped"
keys alt+l Up Up # Open log..., above Calibrate..., the menu's last item (Up wraps)
look 1 "log menu at Open log"
keys Return
look 2 "open log dialog"
keys Return # the drive just recorded, proposed
look 3 "log chart"
keys Escape # closes the chart
look 1 "chart closed"
keys alt+F4 # the window manager's close
look 2 "closed"
if kill -0 "$app_pid" 2>/dev/null; then
  echo "zavmon still runs"
else
  echo "zavmon ended"
fi
