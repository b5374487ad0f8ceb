#include "tests/qt/zavsim_child.h"

#include <utility>

namespace zav::test {

namespace {
std::vector<std::string> WithPty(std::vector<std::string> options) {
  options.insert(options.begin(), "--pty");
  return options;
}
}  // namespace

ZavsimChild::ZavsimChild(const std::string& program, std::vector<std::string> options)
    : process_(program, WithPty(std::move(options))) {}

std::optional<std::string> ZavsimChild::TerminalPath(std::chrono::milliseconds timeout) {
  return process_.ReadLine(timeout);
}

}  // namespace zav::test
