#include "hosts/win32_core/system_error.h"

#include <windows.h>

#include "platform/files/wide_text.h"

namespace zav::win32 {

std::string SystemErrorText(unsigned long error) {
  wchar_t* words = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&words), 0, nullptr);
  std::string text = length > 0 ? Narrow(std::wstring_view(words, length)) : std::string();
  LocalFree(words);
  // The system ends its words with a full stop and a line break.
  while (!text.empty() &&
         (text.back() == '\n' || text.back() == '\r' || text.back() == '.' || text.back() == ' ')) {
    text.pop_back();
  }
  if (text.empty()) {
    text = "System error";
  }
  return text + " (error " + std::to_string(error) + ")";
}

}  // namespace zav::win32
