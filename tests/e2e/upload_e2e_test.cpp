// Firmware upload by the whole program on the Qt host (offscreen), in real time: to zavsim,
// cleanly and with NAK bursts and lost bytes, and to lrzsz's XMODEM receiver rx, a program
// no one here wrote. Each must end up with the image byte for byte. An upload takes about
// 35 s of line time.

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "link/wire.h"
#include "tests/e2e/program_run.h"
#include "tests/e2e/random_bytes.h"
#include "tests/e2e/rx_peer.h"
#include "tests/qt/pseudo_terminal.h"
#include "tests/qt/zavsim_child.h"
#include "tests/sim/zavsim_process.h"
#include "upgrade/upgrade_checks.h"

namespace zav::test {
namespace {

using namespace std::chrono_literals;

constexpr auto kUploadGiveUp = 300s;  // an upload needs about 35 s, with faults about a minute

// What the receiver must hold: the file's first 30,720 bytes, filled up with 0x00.
std::string Uploaded(const std::string& file) {
  std::string image = file.substr(0, kImageBytes);
  image.resize(kImageBytes, '\0');
  return image;
}

class UploadEndToEndTest : public ProgramRunTest {
 protected:
  std::filesystem::path WriteImage(const std::string& bytes) {
    const std::filesystem::path path = dir_ / "firmware.zav";
    testing::WriteFile(path, bytes);
    return path;
  }

  bool ReceivedWhole(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::file_size(path, error) == kImageBytes && !error;
  }

  // Uploads `file` to zavsim started with `faults`; returns what zavsim kept.
  std::string UploadToZavsim(const std::string& file, std::vector<std::string> faults) {
    const std::filesystem::path received = dir_ / "received.zav";
    faults.insert(faults.begin(), {"--firmware-out", received.string()});
    ZavsimChild simulator(ZAVSIM_PATH, faults);
    const std::optional<std::string> pty = simulator.TerminalPath(20s);
    EXPECT_TRUE(pty) << "zavsim did not start";
    if (!pty) {
      return {};
    }
    SetUpProgram(*pty);
    const std::filesystem::path image = WriteImage(file);
    // A file well short of the image is asked about first; the fitter goes on.
    std::vector<Answer> answers{ChooseFile(image)};
    if (file.size() < kShortFileBytes) {
      answers.push_back(ClickButton("Go on"));
    }
    int queriesAfterUpload = -1;
    Run({{"Petrol", [&] { return OnPetrol(); }, Command("Upgrade", answers)},
         {"the image at zavsim",
          [&] {
            queriesAfterUpload = device_.Count('Q');
            return Answered() && MainWindowIdle() && ReceivedWhole(received);
          },
          [] {}},
         {"polling again", [&] { return device_.Count('Q') > queriesAfterUpload + 5; }, [] {}}},
        kUploadGiveUp);
    EXPECT_EQ(exitCode_, 0);
    return testing::ReadFile(received);
  }
};

TEST_F(UploadEndToEndTest, ZavsimKeepsAWholeSizedImageByteForByte) {
  const std::string file = RandomBytes(kImageBytes, 1);
  EXPECT_TRUE(UploadToZavsim(file, {}) == file);
}

TEST_F(UploadEndToEndTest, ZavsimWithNakBurstsAndLostBytesKeepsAShortImageFilledWithZeros) {
  const std::string file = RandomBytes(20000, 2);
  const std::string kept = UploadToZavsim(
      file,
      {"--seed", "7", "--nak-burst", "2", "--nak-burst-rate", "0.1", "--drop-upload", "0.0002"});
  EXPECT_TRUE(kept == Uploaded(file));
}

TEST_F(UploadEndToEndTest, LrzszRxReceivesTheImageByteForByte) {
  if (!std::filesystem::exists(RX_PATH) || !std::filesystem::exists(SOCAT_PATH)) {
    GTEST_SKIP() << "lrzsz's rx or socat is not installed";
  }
  PseudoTerminal line;
  ASSERT_TRUE(line.IsValid());
  RxPeer rx(line, RX_PATH, SOCAT_PATH);
  SetUpProgram(line.SlavePath());
  const std::string file = RandomBytes(kImageBytes, 3);
  const std::filesystem::path image = WriteImage(file);
  const std::filesystem::path received = dir_ / "received-by-rx.zav";
  // rx answers no poll, so the program asks whether to upgrade without a controller.
  Run({{"the port open", [&] { return device_.IsOpen(); },
        Command("Upgrade", {ChooseFile(image), ClickButton("Upgrade anyway")})},
       {"the upload request", [&] { return rx.UploadRequested(); }, [&] { rx.Start(received); }},
       {"rx done and the upload dialog closed",
        [&] { return rx.Ended() && Answered() && MainWindowIdle(); }, [] {}}},
      kUploadGiveUp);

  EXPECT_TRUE(testing::ReadFile(received) == file) << rx.Messages();
}

}  // namespace
}  // namespace zav::test
