#!/usr/bin/env bash
# The fitter's Windows packages from the MinGW-w64 build: a portable zip (zavmon.exe,
# zavctl.exe, the README as text, the licence) and an NSIS installer, both
# in build-windows/packages/. Usage: scripts/package-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh windows
build=build-windows
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DZAV_WITH_QT=OFF -DZAV_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" --target zavmon zavctl

version=$(sed -nE 's/^project\(zavmon VERSION ([0-9.]+).*/\1/p' CMakeLists.txt)
out=$PWD/$build/packages
files=$out/ZAV-Monitor-$version
rm -rf "$files"
mkdir -p "$files"
cp "$build/app/windows/zavmon.exe" "$files/"
cp "$build/app/windows/zavctl.exe" "$files/"
# Text files with Windows line ends, so that Notepad shows them as written.
sed 's/$/\r/' README.md >"$files/README.txt"
licence=$(ls LICENSE* LICENCE* COPYING* 2>/dev/null | head -1 || true)
if [ -n "$licence" ]; then
  sed 's/$/\r/' "$licence" >"$files/LICENSE.txt"
else
  echo "warning: the repository holds no licence file; the packages go without one" >&2
fi

rm -f "$out/ZAV-Monitor-$version-portable.zip"
(cd "$out" && zip -q -r "ZAV-Monitor-$version-portable.zip" "ZAV-Monitor-$version")
makensis -V2 -DVERSION="$version" -DFILES="$files" \
  -DOUTFILE="$out/ZAV-Monitor-$version-setup.exe" packaging/windows/zavmon.nsi
chmod +x "$out/ZAV-Monitor-$version-setup.exe"  # wine starts only what may run
ls -l "$out"/*.zip "$out"/*.exe
