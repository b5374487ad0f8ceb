#include "cli/cli_context.h"

namespace zav::cli {

void Complain(const CliContext& cli, const std::string& message) {
  std::fprintf(cli.err, "zavctl: %s\n", message.c_str());
  std::fflush(cli.err);
}

}  // namespace zav::cli
