#pragma once
// Time on the serial line between the tool and the controller, in microseconds.

#include <cstdint>

namespace zav::sim {

using Micros = std::int64_t;

inline constexpr Micros kMillisecond = 1000;
inline constexpr Micros kSecond = 1000 * kMillisecond;

// Line time of one byte at 9600 baud with 10 bits a byte, rounded (us).
inline constexpr Micros kByteTime = 1042;

// A byte the controller sends, to be put on the line no earlier than notBefore.
struct TimedByte {
  std::uint8_t byte = 0;
  Micros notBefore = 0;
};

}  // namespace zav::sim
