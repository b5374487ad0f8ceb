#pragma once
// Drives a controller as the hosts do, on explicit time: bytes from the tool arrive one every
// kByteTime, and each answer byte arrives at max(notBefore, line free) + kByteTime.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "link/wire.h"
#include "sim/controller.h"

namespace zav::sim::testing {

struct ArrivedByte {
  std::uint8_t byte = 0;
  Micros at = 0;  // when it had fully arrived at the tool (us)
};

struct ResponseFields {
  std::uint8_t address = 0;
  std::uint16_t value = 0;
};

class LineDriver {
 public:
  explicit LineDriver(Controller& controller, Micros start = 0)
      : controller_(controller), now_(start) {
    controller_.Advance(now_);
  }

  Micros Now() const { return now_; }

  // The tool sends `bytes` from now on; time moves on until the last has arrived.
  void Send(std::span<const std::uint8_t> bytes) {
    for (const std::uint8_t byte : bytes) {
      now_ += kByteTime;
      controller_.Receive(byte, now_);
      Collect();
    }
  }

  void SendRequest(std::uint8_t letter, std::uint8_t address, std::uint16_t value = 0) {
    Send(EncodeRequest(letter, address, value));
  }

  // Lets `duration` pass in steps of `step` (us).
  void Wait(Micros duration, Micros step = kMillisecond) {
    const Micros end = now_ + duration;
    while (now_ < end) {
      now_ = std::min(end, now_ + step);
      controller_.Advance(now_);
      Collect();
    }
  }

  // The answer bytes that have arrived at the tool since the last call.
  std::vector<ArrivedByte> TakeArrived() {
    std::vector<ArrivedByte> arrived;
    while (next_ < sent_.size() && sent_[next_].at <= now_) {
      arrived.push_back(sent_[next_++]);
    }
    return arrived;
  }

  std::vector<std::uint8_t> TakeArrivedBytes() {
    std::vector<std::uint8_t> bytes;
    for (const ArrivedByte& arrived : TakeArrived()) {
      bytes.push_back(arrived.byte);
    }
    return bytes;
  }

  // Sends a request and returns everything answered within `patience` (us).
  std::vector<std::uint8_t> Ask(std::uint8_t letter, std::uint8_t address, std::uint16_t value = 0,
                                Micros patience = 300 * kMillisecond) {
    TakeArrived();
    SendRequest(letter, address, value);
    Wait(patience);
    return TakeArrivedBytes();
  }

 private:
  void Collect() {
    while (const std::optional<TimedByte> out = controller_.NextOutput()) {
      lineFreeAt_ = std::max(out->notBefore, lineFreeAt_) + kByteTime;
      sent_.push_back(ArrivedByte{out->byte, lineFreeAt_});
    }
  }

  Controller& controller_;
  Micros now_ = 0;
  Micros lineFreeAt_ = 0;
  std::vector<ArrivedByte> sent_;
  std::size_t next_ = 0;
};

// Splits answer bytes into 6-byte frames; false when they are not exactly sound frames.
inline bool ParseResponses(std::span<const std::uint8_t> bytes,
                           std::vector<ResponseFields>& frames) {
  frames.clear();
  if (bytes.size() % 6 != 0) {
    return false;
  }
  for (std::size_t at = 0; at < bytes.size(); at += 6) {
    const auto frame = bytes.subspan(at, 6);
    const std::uint16_t value = WordOf(frame[2], frame[3]);
    if (frame[0] != kFrameStart || frame[5] != kFrameEnd ||
        frame[4] != ResponseChecksum(frame[1], value)) {
      return false;
    }
    frames.push_back(ResponseFields{frame[1], value});
  }
  return true;
}

}  // namespace zav::sim::testing
