# Pieces the bench scripts share: sourced by them, not run on its own.

# The machine's load averages over 1, 5 and 15 minutes.
load() { cut -d' ' -f1-3 /proc/loadavg; }

# cpu_ticks PID: the process's user + system CPU so far, in clock ticks
# ($(getconf CLK_TCK) a second).
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# rss_kb PID: the process's resident memory (KiB).
rss_kb() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }

# results_heading SCRIPT BUILD_DIR [MORE]: the first line of a run's figures: what ran, when,
# on which commit, machine and build.
results_heading() {
  echo "$1, $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD)," \
    "$(nproc) cores, build $(awk -F= '/^CMAKE_BUILD_TYPE/ {print $2}' "$2/CMakeCache.txt")${3:+, $3}"
}

# start_xvfb: an X server of the run's own for Qt's xcb platform; its process id is left
# in $xvfb_pid for the caller to end.
start_xvfb() {
  local display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display QT_QPA_PLATFORM=xcb
  sleep 1
}
