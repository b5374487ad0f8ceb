// zavctl flash in real time: to zavsim and to lrzsz's rx, byte for byte, and stopped by
// Ctrl-C. An upload takes about 35 s of line time.

#include <fcntl.h>
#include <signal.h>

#include <thread>

#include "tests/e2e/random_bytes.h"
#include "tests/e2e/rx_peer.h"
#include "tests/e2e/zavctl_run.h"

namespace zav::test {
namespace {

using namespace std::chrono_literals;
using testing::ReadFile;
using testing::WriteFile;

constexpr std::size_t kImageBytes = 30720;

TEST_F(ZavctlTest, FlashToZavsimKeepsTheImageByteForByte) {
  const std::string image = RandomBytes(30000, 11);
  WriteFile(dir_ / "fw.zav", image);
  const std::string port = StartZavsim({"--firmware-out", (dir_ / "kept.zav").string()});
  ASSERT_FALSE(port.empty());
  const ZavctlRun run = OnPort(port, {"flash", "fw.zav"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(ReadFile(dir_ / "kept.zav"), image + std::string(kImageBytes - image.size(), '\0'));
  // Standard error is no terminal here: no progress lines, only the result.
  EXPECT_EQ(run.err.find("Uploading"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("Uploaded 30720 bytes in 240 blocks."), std::string::npos) << run.err;
}

TEST_F(ZavctlTest, FlashOnGasWithYesSwitchesToPetrolThenKeepsTheImageByteForByte) {
  const std::string image = RandomBytes(kImageBytes, 14);
  WriteFile(dir_ / "fw.bin", image);
  const std::string port = StartZavsim({"--firmware-out", (dir_ / "kept.zav").string()});
  ASSERT_FALSE(port.empty());
  ASSERT_TRUE(SwitchZavsimToGas(port));
  const ZavctlRun run = OnPort(port, {"flash", "fw.bin", "--yes"});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.err.find("Switch to petrol before the upgrade? Switch and upgrade (--yes)"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(ReadFile(dir_ / "kept.zav") == image);
  EXPECT_NE(OnPort(port, {"status"}).out.find("Status    Petrol"), std::string::npos);
}

TEST_F(ZavctlTest, FlashToLrzszRxKeepsTheImageByteForByte) {
  if (!std::filesystem::exists(RX_PATH) || !std::filesystem::exists(SOCAT_PATH)) {
    GTEST_SKIP() << "lrzsz's rx or socat is not installed";
  }
  PseudoTerminal line;
  ASSERT_TRUE(line.IsValid());
  RxPeer rx(line, RX_PATH, SOCAT_PATH);
  const std::string image = RandomBytes(kImageBytes, 12);
  WriteFile(dir_ / "fw.zav", image);
  // rx answers no status frames: --yes answers the question about a silent controller.
  sim::testing::ChildProcess zavctl(ZAVCTL_PATH,
                                    {"--port", line.SlavePath(), "flash", "fw.zav", "--yes"}, -1,
                                    dir_.Path().string());
  const auto giveUp = std::chrono::steady_clock::now() + 60s;
  while (!rx.UploadRequested() && std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(10ms);
  }
  rx.Start(dir_ / "received.zav");
  const std::optional<int> status = zavctl.WaitForExit(kPatience);
  ASSERT_TRUE(status && WIFEXITED(*status)) << zavctl.StandardError();
  EXPECT_EQ(WEXITSTATUS(*status), 0) << zavctl.StandardError();
  while (!rx.Ended() && std::chrono::steady_clock::now() < giveUp + kPatience) {
  }
  EXPECT_TRUE(ReadFile(dir_ / "received.zav") == image) << rx.Messages();
}

TEST_F(ZavctlTest, CtrlCStopsTheUploadWithFiveAndTheImageIsNotTaken) {
  WriteFile(dir_ / "fw.zav", RandomBytes(kImageBytes, 13));
  const std::string port = StartZavsim({"--firmware-out", (dir_ / "kept.zav").string()});
  ASSERT_FALSE(port.empty());
  sim::testing::ChildProcess zavctl(ZAVCTL_PATH, {"--port", port, "flash", "fw.zav"}, -1,
                                    dir_.Path().string());
  std::this_thread::sleep_for(4s);  // well into the upload; nothing depends on the exact time
  zavctl.Signal(SIGINT);
  const std::optional<int> status = zavctl.WaitForExit(kPatience);
  ASSERT_TRUE(status && WIFEXITED(*status));
  EXPECT_EQ(WEXITSTATUS(*status), 5);
  const std::string err = zavctl.StandardError();
  EXPECT_NE(err.find("cancelled"), std::string::npos);
  // The window's warning after a stopped upload.
  EXPECT_NE(err.find(". The controller may hold an incomplete image: run the upgrade again "
                     "before the vehicle is driven."),
            std::string::npos)
      << err;
  EXPECT_FALSE(std::filesystem::exists(dir_ / "kept.zav"));
}

}  // namespace
}  // namespace zav::test
