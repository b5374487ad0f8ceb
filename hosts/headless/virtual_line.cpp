#include "hosts/headless/virtual_line.h"

#include <algorithm>

namespace zav::headless {

VirtualLine::VirtualLine(VirtualClock& clock, sim::Controller& controller)
    : clock_(clock), controller_(controller) {
  clock_.Follow(*this);
}

VirtualLine::~VirtualLine() {
  clock_.Unfollow(*this);
}

void VirtualLine::Send(std::span<const std::uint8_t> bytes) {
  const bool lost = loseToController && loseToController(bytes);
  for (const std::uint8_t byte : bytes) {
    const Micros arrival = std::max(clock_.Now(), toControllerFreeAt_) + sim::kByteTime;
    toControllerFreeAt_ = arrival;
    if (keepTraffic) {
      sentByProgram_.push_back({byte, arrival});
    }
    if (!lost) {
      toController_.push_back({byte, arrival});
    }
  }
}

std::optional<std::uint8_t> VirtualLine::TakeArrived() {
  if (toProgram_.empty() || toProgram_.front().at > clock_.Now()) {
    return std::nullopt;
  }
  const std::uint8_t byte = toProgram_.front().byte;
  toProgram_.pop_front();
  return byte;
}

void VirtualLine::DiscardArrived() {
  while (TakeArrived()) {
  }
}

void VirtualLine::InjectToProgram(std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t byte : bytes) {
    const Micros arrival = std::max(clock_.Now(), toProgramFreeAt_) + sim::kByteTime;
    toProgramFreeAt_ = arrival;
    toProgram_.push_back({byte, arrival});
  }
}

void VirtualLine::AdvanceTo(Micros time) {
  while (!toController_.empty() && toController_.front().at <= time) {
    const WireByte arrived = toController_.front();
    toController_.pop_front();
    controller_.Advance(arrived.at);
    controller_.Receive(arrived.byte, arrived.at);
    CollectControllerOutput();
  }
  controller_.Advance(time);
  CollectControllerOutput();
}

std::optional<Micros> VirtualLine::NextEvent() const {
  std::optional<Micros> next;
  if (!toController_.empty()) {
    next = toController_.front().at;
  }
  if (!toProgram_.empty() && (!next || toProgram_.front().at < *next)) {
    next = toProgram_.front().at;
  }
  return next;
}

void VirtualLine::CollectControllerOutput() {
  std::vector<WireByte> batch;
  while (const std::optional<sim::TimedByte> out = controller_.NextOutput()) {
    const Micros arrival = std::max(out->notBefore, toProgramFreeAt_) + sim::kByteTime;
    toProgramFreeAt_ = arrival;
    batch.push_back({out->byte, arrival});
  }
  if (batch.empty()) {
    return;
  }
  if (keepTraffic) {
    sentByController_.insert(sentByController_.end(), batch.begin(), batch.end());
  }
  if (loseToProgram) {
    std::vector<std::uint8_t> bytes;
    for (const WireByte& wire : batch) {
      bytes.push_back(wire.byte);
    }
    if (loseToProgram(bytes)) {
      return;
    }
  }
  toProgram_.insert(toProgram_.end(), batch.begin(), batch.end());
}

}  // namespace zav::headless
