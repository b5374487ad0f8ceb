#pragma once
// Checks on a file zavctl is asked to write, made before any work starts, so that a wrong
// path costs nothing and writes nothing.

#include <filesystem>
#include <optional>
#include <string>

namespace zav::cli {

// Why a file cannot be written at `path` (a folder there, or no such folder); nothing when
// it can be tried.
std::optional<std::string> OutputPathProblem(const std::filesystem::path& path);

}  // namespace zav::cli
