// zavctl library: the named configurations in zavmon.cfg. Edits rewrite the whole file
// through a new file and a rename, so that the port name and every other record survive,
// or nothing changes at all.

#include <algorithm>
#include <array>
#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/library_edit.h"
#include "cli/output_file.h"
#include "cli/register_table.h"
#include "params/config_library.h"
#include "params/parameter_file.h"
#include "platform/files/file_replace.h"
#include "platform/files/path_text.h"
#include "platform/latin1_text.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kLibraryHelp{
    "library list | show NAME | add NAME FILE.car | remove NAME | export NAME -o FILE.car",
    "The library of named configurations in zavmon.cfg (the window shows the name whose\n"
    "values the controller holds). Opens no port.\n\n"
    "  list                  the names, in file order\n"
    "  show NAME             registers 80 to 94 of that configuration\n"
    "  add NAME FILE.car     append the file's registers 80 to 94 under NAME (1 to 63\n"
    "                        bytes, not yet in the library; at most 512 configurations)\n"
    "  remove NAME           remove that configuration\n"
    "  export NAME -o FILE   save that configuration as a .car file\n\n"
    "zavmon.cfg must exist and hold whole records; it is never created here and a port name\n"
    "is never guessed. An edit replaces the file whole, or leaves it as it was."};

struct Verb {
  std::string_view name;
  int arguments;  // after the verb
};

constexpr std::array<Verb, 5> kVerbs{
    {{"list", 0}, {"show", 1}, {"add", 2}, {"remove", 1}, {"export", 1}}};

std::filesystem::path SettingsOf(const CliContext& cli) {
  return cli.workingFolder / "zavmon.cfg";
}

// The whole file, ready for an edit; nothing after the reason was reported.
std::optional<std::vector<std::uint8_t>> ReadForEdit(const CliContext& cli) {
  SettingsBytes settings = ReadSettingsForEdit(SettingsOf(cli));
  if (!settings.problem.empty()) {
    Complain(cli, settings.problem);
    return std::nullopt;
  }
  return std::move(settings.bytes);
}

int Store(const CliContext& cli, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path settings = SettingsOf(cli);
  if (const std::optional<std::string> reason = ReplaceFileContents(settings, bytes)) {
    Complain(cli,
             "cannot save " + Utf8FromPath(settings) + ": " + *reason + "; it was left as it was");
    return kExitPortOrFile;
  }
  return kExitDone;
}

// The record of that name, or nothing after saying that there is none.
std::optional<std::size_t> FindNamedRecord(const CliContext& cli,
                                           const std::vector<std::uint8_t>& settings,
                                           const std::string& name) {
  const std::optional<std::size_t> index = FindRecord(settings, name);
  if (!index) {
    Complain(cli, "the library holds no configuration named \"" + Latin1ToUtf8(name) + "\"");
  }
  return index;
}

int List(const CliContext& cli) {
  const std::optional<std::vector<std::uint8_t>> settings = ReadForEdit(cli);
  if (!settings) {
    return kExitPortOrFile;
  }
  std::string text;
  for (std::size_t index = 0; index < RecordCount(*settings); ++index) {
    text += Latin1ToUtf8(NameAt(*settings, index)) + "\n";
  }
  Print(cli, text);
  return kExitDone;
}

int Show(const CliContext& cli, const std::string& name) {
  const std::optional<std::vector<std::uint8_t>> settings = ReadForEdit(cli);
  if (!settings) {
    return kExitPortOrFile;
  }
  const std::optional<std::size_t> index = FindNamedRecord(cli, *settings, name);
  if (!index) {
    return kExitPortOrFile;
  }
  const ParameterWords words = WordsAt(*settings, *index);
  std::string text;
  for (std::size_t i = 0; i < words.size(); ++i) {
    text +=
        RegisterLine(static_cast<std::uint8_t>(kFirstImageRegister + i), std::to_string(words[i]));
  }
  Print(cli, text);
  return kExitDone;
}

int Add(const CliContext& cli, const std::string& name, const std::string& file) {
  if (const std::optional<std::string> problem = NameProblem(name)) {
    Complain(cli, "library add: " + *problem);
    return kExitUsage;
  }
  const LoadedParameters loaded = ReadParameterFile(PathFromUtf8(file));
  if (!loaded.words) {
    Complain(cli, loaded.error);
    return kExitPortOrFile;
  }
  std::optional<std::vector<std::uint8_t>> settings = ReadForEdit(cli);
  if (!settings) {
    return kExitPortOrFile;
  }
  if (const std::optional<std::string> problem = AddRecord(*settings, name, *loaded.words)) {
    Complain(cli, "library add: " + *problem);
    return kExitPortOrFile;
  }
  return Store(cli, *settings);
}

int Remove(const CliContext& cli, const std::string& name) {
  std::optional<std::vector<std::uint8_t>> settings = ReadForEdit(cli);
  if (!settings) {
    return kExitPortOrFile;
  }
  if (const std::optional<std::string> problem = RemoveRecord(*settings, name)) {
    Complain(cli, "library remove: " + *problem);
    return kExitPortOrFile;
  }
  return Store(cli, *settings);
}

int Export(const CliContext& cli, const std::string& name, const std::string& out) {
  if (const std::optional<std::string> problem = OutputPathProblem(PathFromUtf8(out))) {
    Complain(cli, *problem);
    return kExitPortOrFile;
  }
  const std::optional<std::vector<std::uint8_t>> settings = ReadForEdit(cli);
  if (!settings) {
    return kExitPortOrFile;
  }
  const std::optional<std::size_t> index = FindNamedRecord(cli, *settings, name);
  if (!index) {
    return kExitPortOrFile;
  }
  RegisterImage image{};
  StoreParameters(image, WordsAt(*settings, *index));
  if (const std::optional<std::string> problem =
          WriteParameterFile(PathFromUtf8(out), EncodeParameterFile(image))) {
    Complain(cli, *problem);
    return kExitPortOrFile;
  }
  return kExitDone;
}

}  // namespace

int RunLibrary(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int outOption = parser.Add({.names = {"o"}, .takesValue = true});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kLibraryHelp, 1, 3)) {
    return *code;
  }
  const std::vector<std::string>& words = parser.Positional();
  const std::string verb = words.at(0);
  const auto found = std::find_if(kVerbs.begin(), kVerbs.end(),
                                  [&verb](const Verb& entry) { return entry.name == verb; });
  const bool exporting = verb == "export";
  if (found == kVerbs.end() || words.size() != static_cast<std::size_t>(found->arguments) + 1 ||
      exporting != parser.IsSet(outOption)) {
    Complain(cli, "library: expected " + std::string(kLibraryHelp.usage) +
                      "; see zavctl library --help");
    return kExitUsage;
  }
  if (verb == "list") {
    return List(cli);
  }
  const std::optional<std::string> name = Latin1Name(words.at(1));
  if (!name) {
    Complain(cli, "library: \"" + words.at(1) +
                      "\" holds characters the library cannot keep (its names are Latin-1)");
    return kExitUsage;
  }
  if (verb == "show") {
    return Show(cli, *name);
  }
  if (verb == "add") {
    return Add(cli, *name, words.at(2));
  }
  if (verb == "remove") {
    return Remove(cli, *name);
  }
  return Export(cli, *name, parser.Value(outOption));
}

}  // namespace zav::cli
