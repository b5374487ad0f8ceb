#include "sim/request_receiver.h"

#include <algorithm>

#include "link/wire.h"

namespace zav::sim {
namespace {

bool IsWellFormed(const std::array<std::uint8_t, 7>& frame) {
  return frame[0] == kFrameStart && frame[6] == kFrameEnd &&
         frame[5] == RequestChecksum(frame[1], frame[2], WordOf(frame[3], frame[4]));
}

// Drops the held start byte and everything up to the next start byte, which may begin the
// frame that the broken one hid.
void SkipToNextStart(RequestReceiver& receiver) {
  const auto held = receiver.bytes.begin() + static_cast<std::ptrdiff_t>(receiver.count);
  const auto next = std::find(receiver.bytes.begin() + 1, held, kFrameStart);
  std::copy(next, held, receiver.bytes.begin());
  receiver.count = static_cast<std::size_t>(held - next);
}

}  // namespace

std::optional<DecodedRequest> TakeRequestByte(RequestReceiver& receiver, std::uint8_t byte,
                                              Micros at) {
  if (receiver.count > 0 && at - receiver.lastByteAt > kStaleFrameGap) {
    receiver.count = 0;
  }
  receiver.lastByteAt = at;
  if (receiver.count == 0 && byte != kFrameStart) {
    return std::nullopt;
  }
  receiver.bytes[receiver.count++] = byte;
  if (receiver.count < receiver.bytes.size()) {
    return std::nullopt;
  }
  if (IsWellFormed(receiver.bytes)) {
    receiver.count = 0;
    const auto& frame = receiver.bytes;
    return DecodedRequest{frame[1], frame[2], WordOf(frame[3], frame[4])};
  }
  SkipToNextStart(receiver);
  return std::nullopt;
}

}  // namespace zav::sim
