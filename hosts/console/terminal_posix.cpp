#include <unistd.h>

#include "hosts/console/terminal.h"

namespace zav::console {

bool IsTerminal(std::FILE* stream) {
  return isatty(fileno(stream)) != 0;
}

// Straight from the descriptor: the stream's buffer would wait for more than the line.
std::string ReadAnswer(std::FILE* answers) {
  char line[64] = {};
  const ssize_t count = read(fileno(answers), line, sizeof line - 1);
  return count > 0 ? std::string(line, static_cast<std::size_t>(count)) : std::string();
}

}  // namespace zav::console
