#include "hosts/console/progress_line.h"

#include <algorithm>
#include <utility>

namespace zav::console {

namespace {

constexpr int kBarWidth = 40;         // characters
constexpr int kLineStepPercent = 10;  // one line per this many percent off a terminal

}  // namespace

void ProgressLine::Start(std::string title, int low, int high) {
  Finish();
  title_ = std::move(title);
  low_ = low;
  high_ = high;
  lastShown_ = -1;
  active_ = true;
}

int ProgressLine::Percent(int position) const {
  if (high_ <= low_) {
    return 100;
  }
  const int clamped = std::clamp(position, low_, high_);
  return (clamped - low_) * 100 / (high_ - low_);
}

void ProgressLine::Show(int position) {
  if (!active_) {
    return;
  }
  const int percent = Percent(position);
  if (onTerminal_) {
    if (percent == lastShown_) {
      return;
    }
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stream_, "\r%s [%s%s] %3d%%", title_.c_str(), std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), percent);
  } else {
    const int step = percent / kLineStepPercent * kLineStepPercent;
    if (step <= lastShown_) {
      return;
    }
    std::fprintf(stream_, "%s: %d%%\n", title_.c_str(), step);
    lastShown_ = step;
    std::fflush(stream_);
    return;
  }
  lastShown_ = percent;
  std::fflush(stream_);
}

void ProgressLine::Finish() {
  if (active_ && onTerminal_ && lastShown_ >= 0) {
    std::fputc('\n', stream_);
    std::fflush(stream_);
  }
  active_ = false;
}

}  // namespace zav::console
