#include "cli/output_file.h"
#include "platform/files/path_text.h"

#include <system_error>

namespace zav::cli {

std::optional<std::string> OutputPathProblem(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return "cannot write " + Utf8FromPath(path) + ": it is a folder";
  }
  const std::filesystem::path folder =
      path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  if (!std::filesystem::is_directory(folder, error)) {
    return "cannot write " + Utf8FromPath(path) + ": the folder " + Utf8FromPath(folder) +
           " does not exist";
  }
  return std::nullopt;
}

}  // namespace zav::cli
