// The zavsim program in real time: on a pseudo-terminal and on a serial device, its command
// line and its ending. Bounds are generous; nothing here measures speed.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "link/wire.h"
#include "tests/sim/line_driver.h"
#include "tests/sim/serial_client.h"
#include "tests/sim/zavsim_process.h"

namespace zav::sim {
namespace {

using namespace std::chrono_literals;
using testing::ChildProcess;
using testing::ResponseFields;
using testing::SerialClient;

constexpr auto kPatience = 20s;

bool ExitedWith(const std::optional<int>& status, int code) {
  return status && WIFEXITED(*status) && WEXITSTATUS(*status) == code;
}

std::vector<ResponseFields> Ask(SerialClient& client, std::uint8_t letter, std::uint8_t address,
                                std::uint16_t value, std::size_t frames) {
  EXPECT_TRUE(client.Write(EncodeRequest(letter, address, value)));
  const std::vector<std::uint8_t> bytes = client.Read(frames * 6, kPatience);
  std::vector<ResponseFields> parsed;
  EXPECT_TRUE(testing::ParseResponses(bytes, parsed)) << bytes.size() << " bytes";
  return parsed;
}

void ExpectLivePollAnswer(SerialClient& client) {
  const std::vector<ResponseFields> frames = Ask(client, kLetterQuery, kFirstLiveRegister, 0, 20);
  ASSERT_EQ(frames.size(), 20U);
  for (std::size_t index = 0; index < 19; ++index) {
    EXPECT_EQ(frames[index].address, kFirstLiveRegister + index);
  }
  EXPECT_EQ(frames[19].address, kStatusRegister);
  EXPECT_EQ(frames[19].value, kStatusPetrol);
}

class SimProgramOnPty : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(zavsim.Started());
    const std::optional<std::string> line = zavsim.ReadLine(kPatience);
    ASSERT_TRUE(line.has_value());
    path = *line;
    client.emplace(path);
    ASSERT_TRUE(client->IsOpen()) << path;
    ASSERT_TRUE(isatty(client->Fd())) << path;
  }

  ChildProcess zavsim{ZAVSIM_PATH, {"--pty", "--errors", "8101"}};
  std::string path;
  std::optional<SerialClient> client;
};

TEST_F(SimProgramOnPty, AnswersLivePollWithNineteenLiveFramesAndTheStatusFrame) {
  ExpectLivePollAnswer(*client);
}

TEST_F(SimProgramOnPty, WriteOfRegister80IsAnsweredAndReadBack) {
  std::vector<ResponseFields> frames = Ask(*client, kLetterSet, 80, 61, 1);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].address, 80);
  EXPECT_EQ(frames[0].value, 61);
  frames = Ask(*client, kLetterQuery, 80, 0, 1);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].value, 61);
}

TEST_F(SimProgramOnPty, ReportsTheErrorFlagsGivenOnTheCommandLine) {
  const std::vector<ResponseFields> frames = Ask(*client, kLetterQuery, kErrorFlagsRegister, 0, 1);
  ASSERT_EQ(frames.size(), 1U);
  EXPECT_EQ(frames[0].value, 0x8101);
}

TEST_F(SimProgramOnPty, KeepsServingWhenTheClientClosesAndReopens) {
  ExpectLivePollAnswer(*client);
  client.reset();
  client.emplace(path);
  ASSERT_TRUE(client->IsOpen());
  ExpectLivePollAnswer(*client);
}

TEST(SimProgramVersion, AnswersTheVersionBytesGivenOnTheCommandLine) {
  ChildProcess zavsim(ZAVSIM_PATH, {"--pty", "--version-bytes", "31C9322EB0FF0041"});
  const std::optional<std::string> path = zavsim.ReadLine(kPatience);
  ASSERT_TRUE(path.has_value());
  SerialClient client(*path);
  ASSERT_TRUE(client.IsOpen());
  const std::uint16_t expected[] = {0x31C9, 0x322E, 0xB0FF, 0x0041};
  for (std::uint8_t index = 0; index < 4; ++index) {
    const auto address = static_cast<std::uint8_t>(kHardwareVersionRegister + index);
    const std::vector<ResponseFields> frames = Ask(client, kLetterQuery, address, 0, 1);
    ASSERT_EQ(frames.size(), 1U);
    EXPECT_EQ(frames[0].address, address);
    EXPECT_EQ(frames[0].value, expected[index]);
  }
}

class SimProgramStop : public ::testing::TestWithParam<int> {};

TEST_P(SimProgramStop, SignalEndsItWithExitCodeZero) {
  ChildProcess zavsim(ZAVSIM_PATH, {"--pty"});
  ASSERT_TRUE(zavsim.ReadLine(kPatience).has_value());
  zavsim.Signal(GetParam());
  EXPECT_TRUE(ExitedWith(zavsim.WaitForExit(kPatience), 0));
}

INSTANTIATE_TEST_SUITE_P(Signals, SimProgramStop, ::testing::Values(SIGTERM, SIGINT));

TEST(SimProgramCommandLine, HelpExitsWithZeroAndListsEveryOption) {
  ChildProcess zavsim(ZAVSIM_PATH, {"--help"});
  ASSERT_TRUE(ExitedWith(zavsim.WaitForExit(kPatience), 0));
  const std::string help = zavsim.StandardOutput();
  for (const char* option : {"--pty",
                             "--device",
                             "--firmware-out",
                             "--seed",
                             "--drop ",
                             "--corrupt",
                             "--duplicate",
                             "--split",
                             "--stray ",
                             "--silence-every",
                             "--silence-for",
                             "--nak-burst ",
                             "--nak-burst-rate",
                             "--stray-ack",
                             "--drop-input",
                             "--drop-upload",
                             "--ignore-writes",
                             "--errors",
                             "--version-bytes",
                             "--help"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
}

class SimProgramRefusal : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(SimProgramRefusal, BadCommandLineExitsWithTwoAndSaysWhy) {
  ChildProcess zavsim(ZAVSIM_PATH, GetParam());
  ASSERT_TRUE(ExitedWith(zavsim.WaitForExit(kPatience), 2));
  EXPECT_NE(zavsim.StandardError().find("zavsim: "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Lines, SimProgramRefusal,
                         ::testing::Values(std::vector<std::string>{},
                                           std::vector<std::string>{"--bogus"},
                                           std::vector<std::string>{"--pty", "--drop", "2"},
                                           std::vector<std::string>{"--pty", "--seed"}));

TEST(SimProgramDevice, ServesASerialDevice) {
  if (!std::filesystem::exists(SOCAT_PATH)) {
    GTEST_SKIP() << "socat is needed to make a pair of connected terminals";
  }
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("zavsim-device-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string deviceEnd = (folder / "device").string();
  const std::string toolEnd = (folder / "tool").string();
  {
    ChildProcess socat(SOCAT_PATH, {"PTY,link=" + deviceEnd + ",raw,echo=0",
                                    "PTY,link=" + toolEnd + ",raw,echo=0"});
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!(std::filesystem::exists(deviceEnd) && std::filesystem::exists(toolEnd)) &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(10ms);
    }
    ChildProcess zavsim(ZAVSIM_PATH, {"--device", deviceEnd});
    ASSERT_EQ(zavsim.ReadLine(kPatience), deviceEnd);
    SerialClient client(toolEnd);
    ASSERT_TRUE(client.IsOpen());
    ExpectLivePollAnswer(client);
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zav::sim
