#pragma once
// One live sample: what a tick's live replies left in the live table, with the operating
// state and the moment it was taken. The raw register values, as they came off the line.

#include <array>
#include <cstdint>

#include "link/link_state.h"

namespace zav {

struct LiveSample {
  std::int64_t unixMs = 0;    // wall-clock time of the tick, ms since 1970-01-01 UTC
  std::int64_t steadyMs = 0;  // a clock that never jumps, ms; only differences count
  std::array<std::uint16_t, kLiveRows> values{};  // registers 32 to 50
  bool statusKnown = false;  // false until the first status reply since the program started
  std::uint16_t status = 0;  // register 51, the value the window's status text shows
};

// The two clocks a sample is stamped with. Both may be empty (then 0 is used).
struct SampleClock {
  std::function<std::int64_t()> unixMs;
  std::function<std::int64_t()> steadyMs;
};

// Keeps the last status across ticks, as the window's status text does.
struct LiveSampleSource {
  SampleClock clock;
  bool statusKnown = false;
  std::uint16_t lastStatus = 0;
};

// The sample of one tick's live replies.
LiveSample TakeLiveSample(LiveSampleSource& source, const LiveReplies& replies);

// The system clocks of the machine.
SampleClock SystemSampleClock();

}  // namespace zav
