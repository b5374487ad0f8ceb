#pragma once
// The program's text is UTF-8; the Windows API's wide calls take and give UTF-16. Built on
// Windows only. Neither conversion throws: a byte sequence that is not UTF-8 becomes U+FFFD.

#include <string>
#include <string_view>

namespace zav::win32 {

std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace zav::win32
