// Choosing a port writes its name over the start of the settings file: a file the program
// may write but not read keeps the library after the name; a missing file is created.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "link/settings_header.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Runs the write as a user who may write the file but not read it. Tests run as root, who
// may read anything, so the write runs in a child that has given root up.
bool WriteAsUnprivilegedUser(const std::filesystem::path& file, std::string_view name) {
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::getuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(2);
    }
    ::_exit(WritePortNameInPlace(file, name) ? 0 : 1);
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

TEST(SettingsHeaderTest, WriteOnlyFileKeepsItsLibrary) {
  TempDir dir;
  const auto file = dir / "zavmon.cfg";
  const std::string library(996, 'L');
  WriteFile(file, "COM1" + library);
  ::chmod(dir.Path().c_str(), 0755);
  ::chmod(file.c_str(), 0222);  // write-only for everyone
  EXPECT_TRUE(WriteAsUnprivilegedUser(file, "COM5"));
  ::chmod(file.c_str(), 0644);
  EXPECT_EQ(ReadFile(file), "COM5" + library);
}

TEST(SettingsHeaderTest, MissingFileIsCreatedWithTheNameAlone) {
  TempDir dir;
  EXPECT_TRUE(WritePortNameInPlace(dir / "zavmon.cfg", "COM2"));
  EXPECT_EQ(ReadFile(dir / "zavmon.cfg"), "COM2");
}

TEST(SettingsHeaderTest, FileThatCannotBeWrittenIsLeftAsItIs) {
  TempDir dir;
  const auto file = dir / "zavmon.cfg";
  WriteFile(file, "COM1library");
  ::chmod(dir.Path().c_str(), 0755);
  ::chmod(file.c_str(), 0444);
  EXPECT_FALSE(WriteAsUnprivilegedUser(file, "COM7"));
  EXPECT_EQ(ReadFile(file), "COM1library");
}

}  // namespace
}  // namespace zav
