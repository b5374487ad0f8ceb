#include "datalog/session_store.h"

#include <algorithm>

namespace zav {

void AddToSession(SessionStore& session, const LiveSample& sample) {
  if (!session.started) {
    session.started = true;
    session.startSteadyMs = sample.steadyMs;
  }
  if (session.capacity == 0) {
    return;
  }
  while (session.samples.size() >= session.capacity) {
    session.samples.pop_front();
  }
  session.samples.push_back(DecodeSample(sample, session.startSteadyMs));
  ++session.added;
}

std::size_t FirstSampleFrom(const SessionStore& session, double seconds) {
  const auto found = std::lower_bound(
      session.samples.begin(), session.samples.end(), seconds,
      [](const DecodedSample& sample, double value) { return sample.seconds < value; });
  return static_cast<std::size_t>(found - session.samples.begin());
}

}  // namespace zav
