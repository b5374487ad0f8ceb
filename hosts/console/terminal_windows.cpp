#include <io.h>
#include <windows.h>

#include "hosts/console/terminal.h"

namespace zav::console {

namespace {

HANDLE HandleOf(std::FILE* stream) {
  return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

}  // namespace

// A console, not a file or a pipe: only a console has a console mode.
bool IsTerminal(std::FILE* stream) {
  DWORD mode = 0;
  return GetConsoleMode(HandleOf(stream), &mode) != 0;
}

// The console gives the line once Enter was pressed, which the clock's wait saw.
std::string ReadAnswer(std::FILE* answers) {
  char line[64] = {};
  DWORD count = 0;
  if (ReadFile(HandleOf(answers), line, sizeof line - 1, &count, nullptr) == 0) {
    return {};
  }
  return std::string(line, count);
}

}  // namespace zav::console
