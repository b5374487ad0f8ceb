#include "texts/shortest_number.h"

#include <array>
#include <charconv>

namespace zav {

namespace {

template <typename Number>
std::string Shortest(Number value) {
  std::array<char, 64> text{};  // bytes; the longest double needs 24
  const std::to_chars_result end = std::to_chars(text.data(), text.data() + text.size(), value);
  return std::string(text.data(), end.ptr);
}

}  // namespace

std::string ShortestText(double value) {
  return Shortest(value);
}

std::string ShortestText(float value) {
  return Shortest(value);
}

}  // namespace zav
