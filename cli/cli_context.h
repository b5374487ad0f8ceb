#pragma once
// What every zavctl command gets: the console host, the global options, the working folder
// (where zavmon.cfg lives) and the two output streams.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "hosts/console/console_desktop.h"

namespace zav::cli {

inline constexpr int kDefaultTimeoutS = 10;

struct GlobalOptions {
  std::optional<std::string> port;  // "COM3" or a device path; nothing: zavmon.cfg's
  int timeoutS = kDefaultTimeoutS;  // s without progress before giving up
};

struct CliContext {
  ConsoleDesktop& desktop;
  GlobalOptions global;
  std::filesystem::path workingFolder;
  std::FILE* out = stdout;
  std::FILE* err = stderr;
};

// "zavctl: " and the message, as one line on standard error.
void Complain(const CliContext& cli, const std::string& message);

}  // namespace zav::cli
