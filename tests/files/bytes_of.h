#pragma once
// A text's bytes, as the replace calls take a file's new contents.
#include <cstdint>
#include <span>
#include <string>

namespace zav::test {

inline std::span<const std::uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace zav::test
