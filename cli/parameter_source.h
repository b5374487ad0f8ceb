#pragma once
// Where a parameter set for a comparison comes from: a .car file, "lib:NAME" (a record of
// the library in zavmon.cfg) or "zav" (the controller, read by the block read).

#include <filesystem>
#include <optional>
#include <string>

#include "params/parameter_set.h"

namespace zav::cli {

inline constexpr const char* kControllerSource = "zav";
inline constexpr const char* kLibraryPrefix = "lib:";

struct LoadedSet {
  std::optional<ParameterWords> words;
  std::string error;  // why there are none
};

bool IsControllerSource(const std::string& source);

// A file or library record (the name in Latin-1, as stored); never the controller.
LoadedSet LoadFromFiles(const std::string& source, const std::filesystem::path& settings);

}  // namespace zav::cli
