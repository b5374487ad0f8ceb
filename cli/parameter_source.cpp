#include "cli/parameter_source.h"

#include "params/config_library.h"
#include "params/parameter_file.h"
#include "platform/files/path_text.h"
#include "platform/latin1_text.h"

namespace zav::cli {

namespace {

LoadedSet FromLibrary(const std::string& name, const std::filesystem::path& settings) {
  ConfigLibrary library;
  LoadConfigLibrary(library, settings);
  for (std::size_t index = 0; index < UsableRecords(library); ++index) {
    if (RecordName(library, index) == name) {
      return {RecordWords(library, index), {}};
    }
  }
  if (library.recordCount == 0) {
    return {std::nullopt,
            "no library in " + Utf8FromPath(settings) + " (lib:" + Latin1ToUtf8(name) + ")"};
  }
  return {std::nullopt, "the library in " + Utf8FromPath(settings) +
                            " holds no configuration named \"" + Latin1ToUtf8(name) +
                            "\"; see zavctl library list"};
}

}  // namespace

bool IsControllerSource(const std::string& source) {
  return source == kControllerSource;
}

LoadedSet LoadFromFiles(const std::string& source, const std::filesystem::path& settings) {
  if (source.starts_with(kLibraryPrefix)) {
    return FromLibrary(source.substr(std::string(kLibraryPrefix).size()), settings);
  }
  const LoadedParameters loaded = ReadParameterFile(PathFromUtf8(source));
  return {loaded.words, loaded.error};
}

}  // namespace zav::cli
