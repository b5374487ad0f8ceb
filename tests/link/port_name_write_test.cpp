// Choosing a port writes its name over the start of the settings file: a file the program
// may write but not read keeps the library after the name; a missing file is created; a
// pick the file cannot take is said and the chosen port opened all the same. These tests
// fork and set POSIX permission bits.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cstdint>
#include <functional>
#include <span>

#include "hosts/headless/headless_desktop.h"
#include "link/serial_port.h"
#include "platform/files/file_replace.h"
#include "tests/support/fake_serial_device.h"
#include "tests/support/temp_dir.h"

namespace zav {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Runs the write as a user who may write the file but not read it. Tests run as root, who
// may read anything, so the write runs in a child that has given root up.
bool WritePortName(const std::filesystem::path& file, std::string_view name) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(name.data());
  return !ReplaceFileStart(file, std::span(bytes, name.size())).has_value();
}

// True when `work` returns true in a child that has given root up.
bool TrueAsUnprivilegedUser(const std::function<bool()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    constexpr uid_t kNobody = 65534;
    if (::getuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(2);
    }
    ::_exit(work() ? 0 : 1);
  }
  int status = 0;
  return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

bool WriteAsUnprivilegedUser(const std::filesystem::path& file, std::string_view name) {
  return TrueAsUnprivilegedUser([&] { return WritePortName(file, name); });
}

TEST(PortNameWriteTest, WriteOnlyFileKeepsItsLibrary) {
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

TEST(PortNameWriteTest, MissingFileIsCreatedWithTheNameAlone) {
  TempDir dir;
  EXPECT_TRUE(WritePortName(dir / "zavmon.cfg", "COM2"));
  EXPECT_EQ(ReadFile(dir / "zavmon.cfg"), "COM2");
}

TEST(PortNameWriteTest, FileThatCannotBeWrittenIsLeftAsItIs) {
  TempDir dir;
  const auto file = dir / "zavmon.cfg";
  WriteFile(file, "COM1library");
  ::chmod(dir.Path().c_str(), 0755);
  ::chmod(file.c_str(), 0444);
  EXPECT_FALSE(WriteAsUnprivilegedUser(file, "COM7"));
  EXPECT_EQ(ReadFile(file), "COM1library");
}

TEST(PortNameWriteTest, PickThatTheSettingsFileCannotTakeSaysSoAndOpensTheChosenPort) {
  TempDir dir;
  headless::VirtualClock clock;
  headless::HeadlessDesktop desktop{clock};
  testing::FakeSerialDevice device;
  Link link;
  link.desktop = &desktop;
  link.device = &device;
  link.settingsFile = dir / "zavmon.cfg";
  WriteFile(link.settingsFile, "COM1library");
  ASSERT_TRUE(OpenSerialPort(link));
  ::chmod(dir.Path().c_str(), 0755);
  ::chmod(link.settingsFile.c_str(), 0444);
  desktop.QueueMessageAnswer(MessageAnswer::Ok);
  const bool saidAndOpened = TrueAsUnprivilegedUser([&] {
    SelectPort(link, 4);
    const bool said = desktop.Messages().size() == 1 &&
                      desktop.Messages()[0].text.starts_with("COM5 cannot be saved in \"") &&
                      desktop.Messages()[0].text.find("Permission denied") != std::string::npos;
    const bool opened = device.openAttempts.back() == "COM5" && link.portNumber == 5 &&
                        link.connection.portName == "COM5";
    return said && opened;
  });
  EXPECT_TRUE(saidAndOpened) << "no message naming the file, or the old port reopened";
  EXPECT_EQ(ReadFile(link.settingsFile), "COM1library");
}

}  // namespace
}  // namespace zav
