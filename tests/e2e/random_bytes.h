#pragma once
// Firmware images of random bytes for the real-time uploads: the same seed gives the same
// image, so a failing run can be repeated.

#include <cstddef>
#include <random>
#include <string>

namespace zav::test {

inline std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(random() & 0xFFU);
  }
  return bytes;
}

}  // namespace zav::test
