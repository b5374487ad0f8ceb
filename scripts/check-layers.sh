#!/usr/bin/env bash
# Fails when an include points up a layer, or when a toolkit-free folder includes Qt.
#
# The layers, lowest first. A file may include its own folder and any folder listed before
# it; folders on one line are side by side and may not include each other. tests/, bench/
# and fuzz/ sit above everything.
set -euo pipefail
cd "$(dirname "$0")/.."

layers=(
  "resources"
  "platform"
  "link"
  "texts"
  "params"
  "upgrade"
  "datalog"
  "calibration"
  "charts"
  "calibrate_window"
  "ui"
  "sim"
  "hosts/qt_core hosts/headless hosts/win32_core"
  "hosts/qt hosts/console hosts/win32"
  "cli"
  "app"
)
toolkit_free=(resources platform texts link params upgrade datalog calibration charts
              calibrate_window ui sim hosts/headless)

declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do
    rank[$folder]=$i
  done
done

# The folder of a path: hosts/ has one level more.
folder_of() {
  local path=$1
  case "$path" in
    hosts/*) echo "$path" | cut -d/ -f1-2 ;;
    *) echo "${path%%/*}" ;;
  esac
}

failures=0
while IFS= read -r line; do
  file=${line%%:*}
  included=$(echo "$line" | sed -E 's/.*#include "([^"]+)".*/\1/')
  [[ "$included" == */* ]] || continue
  from=$(folder_of "$file")
  to=$(folder_of "$included")
  [ "$from" = "$to" ] && continue
  from_rank=${rank[$from]:-}
  to_rank=${rank[$to]:-}
  [ -z "$from_rank" ] && continue # tests, bench, fuzz
  if [ -z "$to_rank" ] || [ "$to_rank" -ge "$from_rank" ]; then
    echo "upward include: $file includes $included" >&2
    failures=$((failures + 1))
  fi
done < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' | grep -v '^build' |
         xargs grep -HE '^#include "' || true)

for folder in "${toolkit_free[@]}"; do
  [ -d "$folder" ] || continue
  if found=$(grep -rlE '^#include <Q' --include='*.cpp' --include='*.h' "$folder"); then
    echo "Qt included in toolkit-free $folder/: $found" >&2
    failures=$((failures + 1))
  fi
done

if [ "$failures" -gt 0 ]; then
  echo "$failures layering fault(s)" >&2
  exit 1
fi
echo "Layers: every include points down"
