#pragma once
// Assembles the tool's 7-byte request frames (02 letter address high low checksum 0D) from
// single bytes. A frame is taken only when all seven bytes hold together: start and end byte
// in place and the checksum right. Anything else is dropped without an answer, and the
// receiver finds the next frame wherever it starts, even inside the remains of a broken one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "sim/line_time.h"

namespace zav::sim {

struct DecodedRequest {
  std::uint8_t letter = 0;
  std::uint8_t address = 0;
  std::uint16_t value = 0;
};

struct RequestReceiver {
  std::array<std::uint8_t, 7> bytes{};
  std::size_t count = 0;
  Micros lastByteAt = 0;
};

// A frame takes about 7 ms on the line; a pause this long inside one means its sender has
// moved on, so the bytes held so far are stale (us).
inline constexpr Micros kStaleFrameGap = 100 * kMillisecond;

// Takes one byte that arrived at `at`; returns the request once a well-formed frame is whole.
std::optional<DecodedRequest> TakeRequestByte(RequestReceiver& receiver, std::uint8_t byte,
                                              Micros at);

}  // namespace zav::sim
