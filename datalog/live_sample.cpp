#include "datalog/live_sample.h"

#include <chrono>

namespace zav {

namespace {

std::int64_t Read(const std::function<std::int64_t()>& clock) {
  return clock ? clock() : 0;
}

template <typename Clock>
std::int64_t MillisecondsOf() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
      .count();
}

}  // namespace

LiveSample TakeLiveSample(LiveSampleSource& source, const LiveReplies& replies) {
  if (replies.statusArrived) {
    source.statusKnown = true;
    source.lastStatus = replies.status;
  }
  LiveSample sample;
  sample.unixMs = Read(source.clock.unixMs);
  sample.steadyMs = Read(source.clock.steadyMs);
  if (replies.live != nullptr) {
    sample.values = replies.live->values;
  }
  sample.statusKnown = source.statusKnown;
  sample.status = source.lastStatus;
  return sample;
}

SampleClock SystemSampleClock() {
  return SampleClock{MillisecondsOf<std::chrono::system_clock>,
                     MillisecondsOf<std::chrono::steady_clock>};
}

}  // namespace zav
