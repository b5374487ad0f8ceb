#pragma once
// Single-byte text from outside the program (the controller's version characters, the
// names of stored configurations) is Latin-1, the common 8-bit code page, where every byte
// is a character; the desktop takes UTF-8.

#include <string>
#include <string_view>

namespace zav {

inline std::string Latin1ToUtf8(std::string_view text) {
  std::string utf8;
  utf8.reserve(text.size() * 2);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8 += c;
    } else {
      utf8 += static_cast<char>(0xC0 | byte >> 6);
      utf8 += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return utf8;
}

}  // namespace zav
