#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
# Usage: scripts/install-deps.sh [build|test|run|cross|windows]...
set -euo pipefail

build=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev
       libqt6opengl6-dev
       libgl-dev libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev)
test=(lrzsz socat clang clang-format libclang-rt-14-dev lld ccache locales)
run=(xvfb xauth imagemagick xdotool openbox)
# The Windows cross build of the toolkit-free core and wine to run its tests.
cross=(cmake ninja-build g++-mingw-w64-x86-64-posix googletest wine wine64 ccache)
# The Windows stage of the suite: the cross build, wine, a display for the window under
# wine, and the fitter's zip and NSIS installer.
windows=("${cross[@]}" xvfb xauth imagemagick nsis zip)

wanted=()
for what in "${@:-build}"; do
  case "$what" in
    build) wanted+=("${build[@]}") ;;
    test) wanted+=("${build[@]}" "${test[@]}") ;;
    run) wanted+=("${build[@]}" "${run[@]}") ;;
    cross) wanted+=("${cross[@]}") ;;
    windows) wanted+=("${windows[@]}") ;;
    *) echo "unknown package set: $what" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${wanted[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
