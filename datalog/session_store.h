#pragma once
// Every live sample of the session, in memory, for the charts: about ten hours of them, the
// oldest dropped first beyond that. Charts read it; only the live-sample hook adds to it.

#include <cstddef>
#include <cstdint>
#include <deque>

#include "datalog/live_sample.h"
#include "datalog/sample_columns.h"

namespace zav {

// Ten hours at one sample per 150 ms tick: 240,000 samples of about 100 bytes.
inline constexpr std::size_t kSessionCapacity = 240'000;

struct SessionStore {
  std::deque<DecodedSample> samples;  // oldest first
  std::size_t capacity = kSessionCapacity;
  bool started = false;
  std::int64_t startSteadyMs = 0;  // the first sample's steady time: second 0
  std::uint64_t added = 0;         // samples ever added; a chart compares it to see news
};

void AddToSession(SessionStore& session, const LiveSample& sample);

// Index of the first sample at or after `seconds` (samples.size() when none).
std::size_t FirstSampleFrom(const SessionStore& session, double seconds);

}  // namespace zav
