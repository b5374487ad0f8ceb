// zavctl's command line read in process, without a port: how options take their values,
// which usage errors stop a command (exit 2) and what they say, and names from the command
// line (UTF-8) turned into the library's Latin-1. The texts are those zavctl has always
// given; a script or a fitter may be matching them.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/command_line.h"
#include "hosts/console/console_desktop.h"

namespace zav::cli {
namespace {

// What one run printed, and its exit code.
struct Printed {
  int code = -1;
  std::string out;
  std::string err;
};

std::string Contents(std::FILE* file) {
  std::string text;
  std::rewind(file);
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) {
    text += static_cast<char>(c);
  }
  std::fclose(file);
  return text;
}

Printed RunZavctl(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "zavctl");
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  ConsoleDesktop desktop(err, stdin);
  CliContext cli{.desktop = desktop,
                 .workingFolder = std::filesystem::temp_directory_path(),
                 .out = out,
                 .err = err};
  Printed run;
  run.code = RunCommandLine(cli, arguments);
  run.out = Contents(out);
  run.err = Contents(err);
  return run;
}

struct UsageCase {
  std::vector<std::string> arguments;
  const char* complaint;
};

class UsageErrors : public ::testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, NameWhatIsWrongOnOneLineAndGiveTwo) {
  const Printed run = RunZavctl(GetParam().arguments);
  EXPECT_EQ(run.code, 2);
  EXPECT_EQ(run.err, std::string("zavctl: ") + GetParam().complaint + "\n");
  EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, UsageErrors,
    ::testing::Values(
        UsageCase{{"defaults", "-o"},
                  "defaults: Missing value after '-o'; see zavctl defaults --help"},
        UsageCase{{"read", "--json=yes"},
                  "read: Unexpected value after '--json'; see zavctl read --help"},
        // One dash or two name the same option; a letter glued to its value is no option.
        UsageCase{{"defaults", "-ox.car"}, "unknown option '--ox.car'; see zavctl defaults --help"},
        UsageCase{{"status", "-jsn"}, "unknown option '--jsn'; see zavctl status --help"},
        UsageCase{{"version", "-x"}, "unknown option '-x'; see zavctl version --help"},
        // The first unknown option is named, even when a value error comes before it.
        UsageCase{{"read", "--json=3", "--bogus"},
                  "unknown option '--bogus'; see zavctl read --help"},
        // After "--" everything is positional; "read" takes none.
        UsageCase{{"read", "--", "-o"},
                  "read: expected read [-o FILE.car] [--json]; see zavctl read --help"},
        UsageCase{{"monitor", "--for", "0,5"},
                  "monitor: --for 0,5: give a number of seconds above 0"},
        UsageCase{{"monitor", "--for=0"}, "monitor: --for 0: give a number of seconds above 0"},
        UsageCase{{"--timeout", "5s", "status"},
                  "--timeout 5s: give a whole number of seconds from 1 to 3600; see zavctl --help"},
        UsageCase{
            {"--timeout", "99999999999", "status"},
            "--timeout 99999999999: give a whole number of seconds from 1 to 3600; see zavctl "
            "--help"},
        UsageCase{{"--port"}, "--port needs a value; see zavctl --help"},
        UsageCase{{"status", "--port", "COM1"},
                  "unknown option '--port'; see zavctl status --help"},
        UsageCase{{"--json", "status"},
                  "unknown option '--json' (global options come before the command); see zavctl "
                  "--help"},
        UsageCase{{"stats"}, "unknown command 'stats'; did you mean 'status'? See zavctl --help"},
        UsageCase{{"library", "show", "\xE2\x82\xAC"},
                  "library: \"\xE2\x82\xAC\" holds characters the library cannot keep (its names "
                  "are Latin-1)"}));

TEST(CommandLine, AValueFollowsItsOptionOrAnEqualsSignAndBlanksAndASignAreTakenInNumbers) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "zavctl-command-line-test";
  std::filesystem::create_directories(folder);
  const std::string joined = (folder / "joined.car").string();
  const std::string apart = (folder / "apart.car").string();
  std::filesystem::remove(joined);
  std::filesystem::remove(apart);
  EXPECT_EQ(RunZavctl({"--timeout", " +5 ", "defaults", "-o=" + joined}).code, 0);
  EXPECT_EQ(RunZavctl({"-q", "defaults", "--o", apart}).code, 0);
  ASSERT_TRUE(std::filesystem::exists(joined));
  ASSERT_TRUE(std::filesystem::exists(apart));
  EXPECT_EQ(std::filesystem::file_size(joined), std::filesystem::file_size(apart));
  std::filesystem::remove_all(folder);

  const Printed help = RunZavctl({"help", "read"});
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out.rfind("Usage: zavctl [--port COMn|PATH] [--timeout S] read ", 0), 0u)
      << help.out;
  EXPECT_EQ(RunZavctl({"read", "-help"}).out, help.out);
}

// File names on the command line are UTF-8 (on Windows, too, where the system keeps them in
// UTF-16): a .car written under a name in the fitter's letters is there under exactly that
// name, reads back, and a message names it as it was given.
TEST(CommandLine, FileNamesKeepEveryLetterWrittenReadAndNamedInMessages) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "zavctl-file-names-test";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::u8string name = u8"\u0160koda Fabia \u2013 \u00d6 \u0159.car";
  const std::u8string given = (folder / std::filesystem::path(name)).u8string();
  const std::string argument(given.begin(), given.end());

  EXPECT_EQ(RunZavctl({"defaults", "-o", argument}).code, 0);
  std::vector<std::string> names;  // UTF-8
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::u8string found = entry.path().filename().u8string();
    names.emplace_back(found.begin(), found.end());
  }
  EXPECT_EQ(names, std::vector<std::string>{std::string(name.begin(), name.end())});
  const Printed same = RunZavctl({"diff", argument, argument});
  EXPECT_EQ(same.code, 0) << same.err;

  const std::string missing = argument.substr(0, argument.size() - 4) + "-missing.car";
  const Printed refused = RunZavctl({"diff", argument, missing});
  EXPECT_NE(refused.code, 0);
  EXPECT_NE(refused.err.find(missing), std::string::npos) << refused.err;
  std::filesystem::remove_all(folder);
}

TEST(Latin1Name, TakesUtf8UpToYWithDiaeresisAndRefusesTheRestAndBrokenBytes) {
  EXPECT_EQ(Latin1Name("Zo\xC3\xAB"), std::optional<std::string>("Zo\xEB"));
  EXPECT_EQ(Latin1Name("\xC2\xA0\xC3\xBF"), std::optional<std::string>("\xA0\xFF"));
  EXPECT_EQ(Latin1Name("Golf 4"), std::optional<std::string>("Golf 4"));
  EXPECT_EQ(Latin1Name("\xC4\x80"), std::nullopt);      // U+0100, beyond Latin-1
  EXPECT_EQ(Latin1Name("\xE2\x82\xAC"), std::nullopt);  // the euro sign
  EXPECT_EQ(Latin1Name("Zo\xEB"), std::nullopt);        // Latin-1 itself, not UTF-8
  EXPECT_EQ(Latin1Name("Zo\xC3"), std::nullopt);        // cut short
  EXPECT_EQ(Latin1Name("\xC3\x28"), std::nullopt);      // no continuation byte
  EXPECT_EQ(Latin1Name("\xC1\xBF"), std::nullopt);      // an overlong '?'
}

}  // namespace
}  // namespace zav::cli
