#include "tests/soak/frame_watch.h"

#include "link/frames.h"

namespace zav::testing {

namespace {

// Longer than any answer takes from the controller to the program, retries included (us).
constexpr headless::Micros kInFlight = 2 * headless::kSecond;

bool IsLiveOrStatus(std::uint8_t address) {
  return address >= kFirstLiveRegister && address <= kStatusRegister;
}

}  // namespace

std::optional<std::uint8_t> FrameWatch::ReadByte() {
  const std::optional<std::uint8_t> byte = inner_.ReadByte();
  if (byte) {
    recent_[bytesRead_++ % kBytesKept] = *byte;
  }
  if (byte && FeedReceiver(receiver_, *byte)) {
    const ReceivedFrame frame = LastReceivedFrame(receiver_);
    Judge(frame.address, frame.value);
  }
  return byte;
}

void FrameWatch::Write(std::span<const std::uint8_t> bytes) {
  if (bytes.size() == std::tuple_size_v<RequestBytes> && bytes[0] == kFrameStart) {
    ++requestFramesSent_;
  }
  inner_.Write(bytes);
}

void FrameWatch::NoteChange(std::uint8_t address, std::uint16_t before) {
  earlier_[address] = {before, clock_.Now() + kInFlight};
}

bool FrameWatch::TookFalse(std::uint8_t address, std::uint16_t value, headless::Micros from) const {
  for (auto it = falseFrames_.rbegin(); it != falseFrames_.rend() && it->at >= from; ++it) {
    if (it->address == address && it->value == value) {
      return true;
    }
  }
  return false;
}

void FrameWatch::Judge(std::uint8_t address, std::uint16_t value) {
  ++framesTaken_;
  if (IsLiveOrStatus(address)) {
    return;
  }
  ++framesJudged_;
  if (IsImageRegister(address)) {
    if (value == controller_.Register(address)) {
      return;
    }
    const auto earlier = earlier_.find(address);
    if (earlier != earlier_.end() && earlier->second.value == value &&
        clock_.Now() <= earlier->second.until) {
      return;
    }
  }
  FalseFrame frame{clock_.Now(), address, value, {}};
  for (std::size_t i = 0; i < kBytesKept; ++i) {
    frame.before[i] = recent_[(bytesRead_ + i) % kBytesKept];
  }
  falseFrames_.push_back(frame);
}

}  // namespace zav::testing
