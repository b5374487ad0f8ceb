#include <windows.h>
// After windows.h, which it needs:
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "hosts/console/console_program.h"
#include "platform/files/wide_text.h"

namespace zav::console {

namespace {

// The command line as the system keeps it (UTF-16), in UTF-8: argv would be in the ANSI
// code page and lose what that lacks.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) {
    return std::vector<std::string>(argv, argv + argc);
  }
  std::vector<std::string> arguments;
  for (int index = 0; index < count; ++index) {
    arguments.push_back(win32::Narrow(wide[index]));
  }
  LocalFree(static_cast<HLOCAL>(wide));
  return arguments;
}

}  // namespace

// Standard output carries files (a .car file, CSV) byte for byte, so it is binary: no
// carriage return is slipped before each line feed. The console shows our UTF-8 texts in
// its UTF-8 code page, given back as it was when the program ends.
int RunConsoleProgram(int argc, char** argv,
                      const std::function<int(const std::vector<std::string>&)>& program) {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const UINT outputCodePage = GetConsoleOutputCP();
  SetConsoleOutputCP(CP_UTF8);
  const int result = program(Utf8Arguments(argc, argv));
  std::fflush(stdout);
  std::fflush(stderr);
  if (outputCodePage != 0) {
    SetConsoleOutputCP(outputCodePage);
  }
  return result;
}

}  // namespace zav::console
