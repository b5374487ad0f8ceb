#include "sim/response_line.h"

#include <algorithm>

namespace zav::sim {
namespace {

constexpr Micros kShortestSplitGap = 100 * kMillisecond;
constexpr Micros kLongestSplitGap = 300 * kMillisecond;
constexpr int kMostStrayBytes = 3;

}  // namespace

ResponseLine::ResponseLine(const FaultOptions& faults, Random random)
    : faults_(faults), random_(random) {}

void ResponseLine::SendFrame(const ResponseBytes& frame, Micros notBefore) {
  if (Chance(random_, faults_.strayRate)) {
    PutStrayBytes(notBefore);
  }
  std::size_t splitBefore = frame.size();  // no split
  Micros gap = 0;
  if (Chance(random_, faults_.splitRate)) {
    splitBefore = static_cast<std::size_t>(
        NextInRange(random_, 1, static_cast<std::int64_t>(frame.size()) - 1));
    gap = NextInRange(random_, kShortestSplitGap, kLongestSplitGap);
  }
  for (std::size_t index = 0; index < frame.size(); ++index) {
    const Micros earliest =
        index == splitBefore ? std::max(notBefore, projectedFreeAt_) + gap : notBefore;
    PutWithByteFaults(frame[index], earliest);
  }
}

void ResponseLine::SendControl(std::uint8_t byte, Micros notBefore) {
  Put(byte, notBefore);
}

std::optional<TimedByte> ResponseLine::Next() {
  if (queue_.empty()) {
    return std::nullopt;
  }
  const TimedByte next = queue_.front();
  queue_.pop_front();
  return next;
}

void ResponseLine::Put(std::uint8_t byte, Micros notBefore) {
  // Bytes leave in order, so no byte may be stamped earlier than the one before it.
  const Micros stamp = std::max(notBefore, lastNotBefore_);
  const Micros sendAt = std::max(stamp, projectedFreeAt_);
  if (InSilentPeriod(sendAt)) {
    return;
  }
  lastNotBefore_ = stamp;
  projectedFreeAt_ = sendAt + kByteTime;
  queue_.push_back(TimedByte{byte, stamp});
}

void ResponseLine::PutWithByteFaults(std::uint8_t byte, Micros notBefore) {
  if (Chance(random_, faults_.dropRate)) {
    return;
  }
  if (Chance(random_, faults_.corruptRate)) {
    byte ^= static_cast<std::uint8_t>(NextInRange(random_, 1, 255));
  }
  Put(byte, notBefore);
  if (Chance(random_, faults_.duplicateRate)) {
    Put(byte, notBefore);
  }
}

void ResponseLine::PutStrayBytes(Micros notBefore) {
  const std::int64_t count = NextInRange(random_, 1, kMostStrayBytes);
  for (std::int64_t stray = 0; stray < count; ++stray) {
    Put(static_cast<std::uint8_t>(NextBits(random_)), notBefore);
  }
}

bool ResponseLine::InSilentPeriod(Micros at) const {
  const Micros every = Micros{faults_.silenceEveryMs} * kMillisecond;
  const Micros length = Micros{faults_.silenceForMs} * kMillisecond;
  const Micros running = at - origin_;
  return every > 0 && length > 0 && running >= every && running % every < length;
}

}  // namespace zav::sim
