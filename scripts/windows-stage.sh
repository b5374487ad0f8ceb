#!/usr/bin/env bash
# The Windows stage of the suite: the MinGW-w64 build of the core, the Windows hosts and
# their tests in build-windows/, the tests under wine, then the Windows serial device
# against zavsim on pseudo-terminals mapped to COM ports in a wine prefix of the build's own.
# Needs the Linux build's zavsim (build/sim/zavsim). Usage: scripts/windows-stage.sh
# [--build-only] (the build alone, which needs no zavsim).
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
[ "${1:-}" = --build-only ] && exit 0

# The programs the fitter gets: under 4 MB (4,000,000 bytes) together, needing no DLL beyond
# the system's.
programs=$(ls "$build"/app/windows/*.exe)
bytes=$(cat $programs | wc -c)
echo "Windows programs: $bytes bytes together ($(basename -a $programs | tr '\n' ' '))"
[ "$bytes" -lt 4000000 ] || { echo "the Windows programs exceed 4,000,000 bytes" >&2; exit 1; }
system_dlls='^(advapi32|comctl32|comdlg32|gdi32|gdiplus|kernel32|msvcrt|ole32|setupapi|shell32|shlwapi|user32|uxtheme|winmm)\.dll$'
for program in $programs; do
  x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' |
    grep -vE "$system_dlls" && { echo "$program needs a DLL beyond the system's" >&2; exit 1; }
done

# A prefix of the build's own, so that wine neither asks nor touches the user's.
export WINEPREFIX=$PWD/$build/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko
work=$(mktemp -d)
simulators=()
# Stops wine's server and waits until it is gone: a program started while the old server is
# still going down connects to it and dies with it, at once and without a word.
stop_wine() {
  timeout 30 wineserver -k 2>/dev/null || true
  timeout 30 wineserver -w 2>/dev/null || true
}
finish() {
  for pid in "${simulators[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  stop_wine
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
map_port COM1 "$work/com1"
map_port COM2 "$work/com2"  # its simulator comes just before the test that pulls it out
stop_wine  # the mapping takes effect at wine's next start
# One program first, alone: the server and wine's own services come up before the tests
# start two programs at once.
timeout 120 wine cmd /c exit >/dev/null 2>&1 || true

# The fuzz targets' random runs are run natively, and under the sanitizers, already.
export ZAV_TEST_PORT=COM1 ZAV_TEST_REPLUG_PORT=COM2
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 900 -LE "slow|win32|fuzz"
# The window host's tests make real windows: on a display of their own, as zavmon.exe below.
display=:$((60 + RANDOM % 200))
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
simulators+=($!)
export DISPLAY=$display
serve com2 --unplug-after 8 --unplug-for 3
ctest --test-dir "$build" --output-on-failure --timeout 300 -L win32

# zavmon.exe under Xvfb against the simulator on COM1, as the fitter uses it: the window
# comes up polling, "Read from ZAV" (Ctrl+R, then OK) reads the parameters, "Start
# recording…" (Alt+L, Enter, then Enter in the save dialog) records a log; closed as the
# system closes it (WM_CLOSE). Checked through the log and the simulator's request log.
serve sim --log --firmware-out "$work/kept.zav"
map_port COM1 "$work/sim"
stop_wine
run=$work/run
mkdir -p "$run"
bash scripts/demo-settings.sh "$run/zavmon.cfg"
requests=$work/sim.log

wait_for() {  # seconds, then a command that must come true
  local seconds=$1
  shift
  local until=$((SECONDS + seconds))
  while ! "$@"; do
    [ $SECONDS -ge $until ] && return 1
    sleep 0.1
  done
}
asked() { grep -q "request Q $1 " "$requests"; }
now_ms() { date +%s%3N; }

zavmon_exe=$PWD/$build/app/windows/zavmon.exe
started_ms=$(now_ms)
(cd "$run" && timeout 300 wine "$zavmon_exe" >"$work/zavmon.out" 2>&1) &
zavmon=$!
wait_for 60 asked 32 || { echo "zavmon.exe never polled the controller" >&2; exit 1; }
echo "zavmon.exe: first live poll $(($(now_ms) - started_ms)) ms after start (wine's start included)"
window=$(timeout 30 xdotool search --sync --name "ZAV" | head -1)
# A window found may not be mapped yet on a busy machine; X refuses the focus until it is.
focus() {
  for _ in $(seq 40); do
    xdotool windowfocus "$1" 2>/dev/null && return 0
    sleep 0.5
  done
  echo "the window $1 never took the keyboard focus" >&2
  return 1
}
# open_from_menu MENU_KEY ITEM_KEYS TITLE: the main window's menu item that opens the dialog
# titled TITLE, tried again until that dialog shows (keys pressed while an earlier dialog is
# still closing go to it); the dialog's window in $dialog.
open_from_menu() {
  dialog=""
  for _ in 1 2 3; do
    focus "$window"
    xdotool key "$1"
    sleep 1
    xdotool key $2
    dialog=$(timeout 20 xdotool search --sync --name "^$3\$" | head -1) && [ -n "$dialog" ] && return 0
    xdotool key Escape
  done
  echo "zavmon.exe showed no \"$3\" dialog" >&2
  exit 1
}
sleep 1
focus "$window"
xdotool key ctrl+r
sleep 2
read_ms=$(now_ms)
xdotool key Return  # "Read from ZAV?" OK
wait_for 30 asked 102 || { echo "zavmon.exe did not read the parameters" >&2; exit 1; }
echo "zavmon.exe: parameters read (registers 80 to 102) within $(($(now_ms) - read_ms)) ms"
for register in $(seq 80 102); do
  asked "$register" || { echo "register $register was not read" >&2; exit 1; }
done
mark() { mark=$(($(wc -l <"$requests") + 1)); }
asked_since_mark() { tail -n +"$mark" "$requests" | grep -q "$1"; }
upload_asked() { asked_since_mark "^request U "; }
kept() { asked_since_mark "firmware image of 30720 bytes"; }

# "Upgrade" as the fitter does it: the ZAV menu's last item, the file typed into the open
# dialog, then the "Communicate with AZV" dialog runs to its end on its own. The image is
# checked byte for byte as the simulator kept it, and the upload timed as zavctl.exe's below.
# The read's dialog may still be closing when its last request is out, and a key pressed
# then goes to it; so the menu is tried again until the open dialog shows. Wine's file
# dialogs can take seconds to come up on a busy machine: each try waits for it.
head -c 30720 /dev/urandom >"$run/upgrade.zav"
upgrade_file=$(timeout 30 winepath -w "$run/upgrade.zav")
mark
open_from_menu alt+z "Up Return" Open  # "Upgrade", the ZAV menu's last item
focus "$dialog"
sleep 0.5
xdotool type --delay 20 "$upgrade_file"  # whole: the dialog may open in the last folder used
xdotool key Return
wait_for 30 upload_asked || { echo "zavmon.exe did not start the upload" >&2; exit 1; }
upload_started_ms=$(now_ms)
timeout 20 xdotool search --sync --name "^Communicate with AZV$" >/dev/null ||
  { echo "zavmon.exe showed no upload dialog" >&2; exit 1; }
wait_for 120 kept || { echo "zavmon.exe: no image arrived from the upgrade" >&2; exit 1; }
upload_ms=$(($(now_ms) - upload_started_ms))
upload_dialog_gone() { ! xdotool search --name "^Communicate with AZV$" >/dev/null 2>&1; }
wait_for 20 upload_dialog_gone || { echo "zavmon.exe: the upload dialog stayed open" >&2; exit 1; }
cmp -s "$run/upgrade.zav" "$work/kept.zav" ||
  { echo "zavmon.exe: the upgrade's image did not arrive whole" >&2; exit 1; }
awk -v u="$upload_ms" 'BEGIN {printf "zavmon.exe: upgrade of 30,720 bytes in %.1f s, %.2f times the line'"'"'s 33.3 s\n", u / 1000, u / 33300}'

# The upload dialog may still be closing, as the read's above: the menu is tried again until
# the save dialog shows.
open_from_menu alt+l Return "Save As"  # "Start recording…"
focus "$dialog"
sleep 0.5
xdotool key Return  # the proposed file in the save dialog
rows() { [ "$(cat "$run"/logs/*.csv 2>/dev/null | wc -l)" -ge "$1" ]; }
wait_for 30 rows 10 || { echo "zavmon.exe recorded no log" >&2; exit 1; }
utime_before=$(awk '{print $14 + $15}' "/proc/$(pgrep -n -f 'app/windows/zavmon.exe')/stat")
sleep 10
utime_after=$(awk '{print $14 + $15}' "/proc/$(pgrep -n -f 'app/windows/zavmon.exe')/stat")
echo "zavmon.exe: CPU while polling and recording, 10 s: $(( (utime_after - utime_before) * 10 )) ms"
timeout 30 wine taskkill /IM zavmon.exe >/dev/null 2>&1
wait_for 30 eval '! kill -0 '"$zavmon"' 2>/dev/null' ||
  { echo "zavmon.exe did not end when closed" >&2; exit 1; }
log=$(ls "$run"/logs/*.csv)
head -1 "$log" | grep -q '^Time (local),Seconds (s),BA_1 (ms)' ||
  { echo "the log lacks its header" >&2; exit 1; }
tr -d '\r' <"$log" | grep -q ',Petrol$' || { echo "the log holds no live rows" >&2; exit 1; }
echo "zavmon.exe: recorded $(($(wc -l <"$log") - 1)) rows into $(basename "$log")"

# zavctl.exe against the same simulator on COM1, as a fitter's script runs it: "read" saves
# the parameters, "status" prints one sample, "monitor" writes a few seconds of CSV. Checked
# through its output, its files and the requests the simulator took in after each start.
zavctl_exe=$PWD/$build/app/windows/zavctl.exe
zavctl_started=$SECONDS
zavctl() {  # a name for the output files, then the command and its arguments
  local name=$1
  shift
  (cd "$run" && timeout 120 wine "$zavctl_exe" --port COM1 "$@") \
    >"$work/$name.out" 2>"$work/$name.err" ||
    { echo "zavctl.exe $* failed:" >&2; cat "$work/$name.err" >&2; exit 1; }
  tr -d '\r' <"$work/$name.out" >"$work/$name.txt"
}
asked_register_since_mark() { asked_since_mark "request Q $1 "; }

mark
zavctl read read -o read.car
for register in $(seq 80 102); do
  asked_register_since_mark "$register" || { echo "zavctl.exe read did not read register $register" >&2; exit 1; }
done
[ "$(wc -c <"$run/read.car")" -eq 32 ] || { echo "zavctl.exe read saved no parameter file" >&2; exit 1; }
grep -q '^80 *Temperature' "$work/read.txt" || { echo "zavctl.exe read listed no registers" >&2; exit 1; }

mark
zavctl status status
asked_register_since_mark 32 || { echo "zavctl.exe status did not poll the controller" >&2; exit 1; }
grep -qE '^Status +Petrol \(12\)$' "$work/status.txt" ||
  { echo "zavctl.exe status printed no state:" >&2; cat "$work/status.txt" >&2; exit 1; }
grep -qE '^RPM +[0-9]+ RPM$' "$work/status.txt" || { echo "zavctl.exe status printed no RPM" >&2; exit 1; }

mark
zavctl monitor monitor --for 4 --csv monitor.csv
csv_rows=$(tr -d '\r' <"$run/monitor.csv" | grep -c ',Petrol$' || true)
head -1 "$run/monitor.csv" | grep -q '^Time (local),Seconds (s),BA_1 (ms)' ||
  { echo "zavctl.exe monitor wrote no CSV header" >&2; exit 1; }
# 4 s at one sample per 150 ms tick is about 26 rows; wine's start and a busy machine may
# cost some, but a monitor that kept no rows or hung is a fault.
[ "$csv_rows" -ge 5 ] || { echo "zavctl.exe monitor wrote $csv_rows live rows" >&2; exit 1; }
echo "zavctl.exe: read, status and monitor (4 s, $csv_rows rows) in $((SECONDS - zavctl_started)) s"

# An upload as a fitter's script runs it: "flash" sends a whole image of 30,720 bytes, which
# the simulator keeps byte for byte. The line takes 240 blocks of 132 bytes, each answered
# by one byte, at 960 bytes a second (9600 baud, 10 bits a byte): 33.3 s. The upload's time,
# from its 'U' request to the image kept, is printed beside that (and the whole command's,
# wine's start included); a busy machine only makes it longer, so it is recorded, not held
# against a bound.
head -c 30720 /dev/urandom >"$run/fw.zav"
mark
flash_started_ms=$(now_ms)
zavctl flash flash fw.zav --yes &
flasher=$!
wait_for 60 upload_asked || { echo "zavctl.exe flash did not start the upload" >&2; exit 1; }
upload_started_ms=$(now_ms)
wait_for 120 kept || { echo "zavctl.exe flash: no image arrived" >&2; exit 1; }
upload_ms=$(($(now_ms) - upload_started_ms))
wait "$flasher"
flash_ms=$(($(now_ms) - flash_started_ms))
cmp -s "$run/fw.zav" "$work/kept.zav" || { echo "zavctl.exe flash: the image did not arrive whole" >&2; exit 1; }
grep -q "Uploaded 30720 bytes in 240 blocks." "$work/flash.err" ||
  { echo "zavctl.exe flash reported no upload:" >&2; cat "$work/flash.err" >&2; exit 1; }
awk -v u="$upload_ms" -v f="$flash_ms" 'BEGIN {printf "zavctl.exe: upload of 30,720 bytes in %.1f s, %.2f times the line'"'"'s 33.3 s (the command %.1f s)\n", u / 1000, u / 33300, f / 1000}'

# The fitter's packages from the same build: the portable zip and the installer.
bash scripts/package-windows.sh
