#!/usr/bin/env bash
# The commands the README and the guides give, run as they stand there (scripts/check-docs.sh
# finds them here), in a working folder of their own against zavsim, with the outcome the
# documents promise checked. `build` in that folder is the build tree under test, and zavctl
# is on the PATH as it is once installed.
# Usage: documented_commands.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build_dir=$(realpath "$1")
source_dir=$(realpath "$2")

work=$(mktemp -d)
sim_pid=
link_pid=
trap 'kill $sim_pid $link_pid 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
ln -s "$build_dir" "$work/build"
export PATH="$build_dir/cli:$PATH"
cd "$work"

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Runs a command and checks its exit code: expect CODE COMMAND...
expect() {
  local wanted=$1 code=0
  shift
  "$@" >"$work/out" 2>&1 || code=$?
  cat "$work/out"
  [ "$code" -eq "$wanted" ] || fail "'$*' exited with $code, not $wanted"
}

echo "== The simulator"
build/sim/zavsim --help >out.txt
grep -q -- '--gas-need' out.txt || fail "zavsim --help does not name --gas-need"

coproc SIM { exec build/sim/zavsim --pty --gas-need 2.20,1.30 --drive cycle; }
sim_pid=$SIM_PID
read -r -t 10 pty <&"${SIM[0]}" || fail "zavsim printed no pseudo-terminal"
bash "$source_dir/scripts/demo-settings.sh" zavmon.cfg
export ZAVMON_COM1=$pty

echo "== The commonest zavctl uses"
expect 0 zavctl read -o saved.car
[ "$(stat -c %s saved.car)" -ge 30 ] || fail "saved.car is shorter than a parameter file"
cp saved.car known.car
expect 0 zavctl write known.car --verify
expect 0 zavctl diff saved.car zav
grep -q "No differences" out || fail "diff of the set just read found differences"
expect 0 zavctl library add "Van" known.car
library=$(zavctl library list)
grep -qx "Van" <<<"$library" || fail "the library has no \"Van\" after the add"
expect 0 zavctl --help
grep -q "calibrate" out || fail "zavctl --help does not list calibrate"
expect 0 zavctl help read

# A whole image, the controller answering and on petrol: no question, so no terminal is needed.
head -c 30720 /dev/urandom >firmware.zav
expect 0 zavctl flash firmware.zav </dev/null
expect 0 zavctl flash firmware.zav --yes </dev/null

echo "== Calibrating from a short drive on each fuel: too short, refused with the reason"
mkdir -p logs
expect 0 zavctl monitor --csv logs/zavmon-20261209-101500-petrol.csv --for 6
expect 0 zavctl switch
on_gas() { grep -q "^Status *Gas" <<<"$(zavctl status)"; }
for _ in $(seq 20); do
  on_gas && break
  sleep 0.5
done
on_gas || fail "the simulator did not reach Gas after the switch"
expect 0 zavctl monitor --csv logs/zavmon-20261209-101900-gas.csv --for 6
expect 1 zavctl calibrate logs/zavmon-20261209-101500-petrol.csv logs/zavmon-20261209-101900-gas.csv
grep -q "too few load cells" out || fail "calibrate gave no reason"
cp logs/zavmon-20261209-101500-petrol.csv PETROL.csv
cp logs/zavmon-20261209-101900-gas.csv GAS.csv
expect 1 zavctl calibrate PETROL.csv GAS.csv --json
grep -q '"proposal": null' out || fail "calibrate --json printed no proposal field"

echo "== A line pulled out, on a link of its own"
rm -f /tmp/zav
build/sim/zavsim --pty --link /tmp/zav --unplug-after 10 --unplug-for 3 >/dev/null &
link_pid=$!
for _ in $(seq 20); do
  [ -e /tmp/zav ] && break
  sleep 0.5
done
expect 0 zavctl --port /tmp/zav status

echo "== Installing"
# Into a folder of the test's own (DESTDIR), not the system.
DESTDIR="$work/root" cmake --install build >/dev/null
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' build/CMakeCache.txt)
for file in bin/zavmon bin/zavctl bin/zavsim \
  share/applications/zavmon.desktop; do
  [ -e "$work/root$prefix/$file" ] || fail "cmake --install put no $file under $prefix"
done
(cd build && cpack) >/dev/null
ls build/zavmon_*.deb >/dev/null || fail "cpack made no build/zavmon_*.deb"

echo "== One layer's tests, listed (running them here would run them twice at once)"
listed=$(ctest --test-dir build -L link -N)
grep -q "Total Tests: [1-9]" <<<"$listed" || fail "no test carries the label link"
echo "Every documented command ran as promised."
