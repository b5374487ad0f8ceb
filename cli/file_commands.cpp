// zavctl defaults and zavctl diff: parameter sets from files, library records and (for
// diff) the controller.

#include <optional>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/controller_session.h"
#include "cli/exit_codes.h"
#include "cli/output_file.h"
#include "cli/parameter_source.h"
#include "cli/register_table.h"
#include "link/block_transfer.h"
#include "params/parameter_file.h"
#include "platform/files/path_text.h"
#include "platform/latin1_text.h"

namespace zav::cli {

namespace {

constexpr CommandHelp kDefaultsHelp{
    "defaults -o FILE.car",
    "Saves the default parameter set as the window's \"Default values\" then \"Save\" would:\n"
    "registers 80 to 94 the defaults, register 95 zero. Opens no port."};

constexpr CommandHelp kDiffHelp{
    "diff A B",
    "Compares two parameter sets, registers 80 to 94, and lists each register that differs\n"
    "with its caption and unit (exit code 1 when any does). A and B are each a .car file,\n"
    "lib:NAME (a configuration of the library in zavmon.cfg) or zav (the controller, read\n"
    "as \"Read from ZAV\" does; only then is a port opened). Register 95 is not compared:\n"
    "it is the hardware version a file was saved with, not a parameter."};

int PrintDifferences(const CliContext& cli, const std::string& nameA, const ParameterWords& a,
                     const std::string& nameB, const ParameterWords& b) {
  std::string text;
  int differences = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i]) {
      ++differences;
      const auto address = static_cast<std::uint8_t>(kFirstImageRegister + i);
      text += RegisterLine(address, std::to_string(a[i]) + " -> " + std::to_string(b[i]));
    }
  }
  if (differences == 0) {
    text = "No differences in registers 80 to 94.\n";
  } else {
    text = std::to_string(differences) +
           (differences == 1 ? " register differs" : " registers differ") + " (" +
           Latin1ToUtf8(nameA) + " -> " + Latin1ToUtf8(nameB) + "):\n" + text;
  }
  Print(cli, text + "Register 95 is not compared.\n");
  return differences == 0 ? kExitDone : kExitDifferences;
}

// The set named by `source`, read from the controller when it is "zav".
std::optional<ParameterWords> LoadSet(CliContext& cli, const std::string& source,
                                      Program* program) {
  if (IsControllerSource(source)) {
    cli.desktop.SetProgressTitle("Reading");
    if (RunBlockTransfer(program->link, kFirstImageRegister, kLetterQuery) != 1) {
      return std::nullopt;
    }
    return ParametersOf(program->link.image);
  }
  const LoadedSet loaded = LoadFromFiles(source, cli.workingFolder / "zavmon.cfg");
  if (!loaded.words) {
    Complain(cli, loaded.error);
  }
  return loaded.words;
}

// A source as LoadSet takes it: a library name in Latin-1, as the library stores names.
std::optional<std::string> Source(const CliContext& cli, const std::string& argument) {
  if (!argument.starts_with(kLibraryPrefix)) {
    return argument;
  }
  const std::optional<std::string> name = Latin1Name(std::string_view(argument).substr(4));
  if (!name) {
    Complain(cli, "diff: \"" + argument +
                      "\" holds characters the library cannot keep (its names are Latin-1)");
    return std::nullopt;
  }
  return kLibraryPrefix + *name;
}

int Compare(CliContext& cli, const std::string& a, const std::string& b) {
  // Files first: a bad file is reported before any port is opened.
  std::optional<ParameterWords> wordsA;
  std::optional<ParameterWords> wordsB;
  for (const auto& [source, words] : {std::pair{&a, &wordsA}, std::pair{&b, &wordsB}}) {
    if (!IsControllerSource(*source) && !(*words = LoadSet(cli, *source, nullptr))) {
      return kExitPortOrFile;
    }
  }
  if (!IsControllerSource(a) && !IsControllerSource(b)) {
    return PrintDifferences(cli, a, *wordsA, b, *wordsB);
  }
  return WithController(cli, [&](Program& program) {
    const std::optional<ParameterWords> fromController = LoadSet(cli, kControllerSource, &program);
    if (!fromController) {
      return kExitNoAnswer;
    }
    return PrintDifferences(cli, a, wordsA.value_or(*fromController), b,
                            wordsB.value_or(*fromController));
  });
}

}  // namespace

int RunDefaults(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  const int outOption = parser.Add({.names = {"o"}, .takesValue = true});
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kDefaultsHelp, 0, 0)) {
    return *code;
  }
  if (!parser.IsSet(outOption)) {
    Complain(cli, "defaults: -o FILE.car is needed; see zavctl defaults --help");
    return kExitUsage;
  }
  RegisterImage image{};
  ApplyDefaults(image);
  if (const std::optional<std::string> problem =
          WriteParameterFile(PathFromUtf8(parser.Value(outOption)), EncodeParameterFile(image))) {
    Complain(cli, *problem);
    return kExitPortOrFile;
  }
  return kExitDone;
}

int RunDiff(CliContext& cli, const Arguments& args) {
  ArgumentParser parser;
  if (const std::optional<int> code = ParseCommand(cli, parser, args, kDiffHelp, 2, 2)) {
    return *code;
  }
  const std::optional<std::string> a = Source(cli, parser.Positional().at(0));
  const std::optional<std::string> b = Source(cli, parser.Positional().at(1));
  if (!a || !b) {
    return kExitUsage;
  }
  return Compare(cli, *a, *b);
}

}  // namespace zav::cli
