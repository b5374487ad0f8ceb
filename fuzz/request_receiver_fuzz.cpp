// Feeds arbitrary tool bytes to the simulator's request receiver, one byte time apart, with
// pauses longer than a frame's staleness limit where the input asks for them. A request it
// takes must be the last seven bytes fed, well formed and without such a pause inside; and
// a well-formed frame that starts on an empty receiver (after a pause, after a frame taken,
// or at the very start) must be taken.
// The first 8 input bytes are a mask: bit (i % 64) set means a pause before byte i.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "link/wire.h"
#include "sim/request_receiver.h"

namespace {

constexpr std::size_t kMaskBytes = 8;
constexpr std::size_t kFrameBytes = 7;
constexpr zav::sim::Micros kPause = 2 * zav::sim::kStaleFrameGap;

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

bool IsWellFormed(const std::uint8_t* frame) {
  return frame[0] == zav::kFrameStart && frame[6] == zav::kFrameEnd &&
         frame[5] == zav::RequestChecksum(frame[1], frame[2], zav::WordOf(frame[3], frame[4]));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kMaskBytes) {
    return 0;
  }
  std::uint64_t pauses = 0;
  for (std::size_t i = 0; i < kMaskBytes; ++i) {
    pauses = pauses << 8 | data[i];
  }
  const std::uint8_t* bytes = data + kMaskBytes;
  const std::size_t count = size - kMaskBytes;
  const auto pauseBefore = [&](std::size_t i) { return (pauses >> (i % 64) & 1U) != 0; };
  // No pause inside the frame from byte `first` to byte `last`.
  const auto unbroken = [&](std::size_t first, std::size_t last) {
    for (std::size_t k = first + 1; k <= last; ++k) {
      if (pauseBefore(k)) {
        return false;
      }
    }
    return true;
  };
  std::array<bool, kFrameBytes> frameDue{};  // by start index modulo the frame length

  zav::sim::RequestReceiver receiver;
  zav::sim::Micros at = 0;
  for (std::size_t i = 0; i < count; ++i) {
    at += pauseBefore(i) ? kPause : zav::sim::kByteTime;
    // A pause empties the receiver, so a frame may start at this byte with nothing held.
    const bool startsEmpty = receiver.count == 0 || pauseBefore(i);
    const auto taken = zav::sim::TakeRequestByte(receiver, bytes[i], at);
    if (taken) {
      const std::uint8_t* last = bytes + i + 1 - kFrameBytes;
      Require(i + 1 >= kFrameBytes && IsWellFormed(last) && unbroken(i + 1 - kFrameBytes, i));
      Require(taken->letter == last[1] && taken->address == last[2] &&
              taken->value == zav::WordOf(last[3], last[4]));
    }
    if (startsEmpty && i + kFrameBytes <= count) {
      frameDue[i % kFrameBytes] = IsWellFormed(bytes + i) && unbroken(i, i + kFrameBytes - 1);
    }
    // A well-formed frame that began on an empty receiver ends here: it must be taken.
    if (i + 1 >= kFrameBytes && frameDue[(i + 1) % kFrameBytes]) {
      Require(taken.has_value());
      frameDue[(i + 1) % kFrameBytes] = false;
    }
  }
  return 0;
}
