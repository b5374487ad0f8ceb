// A firmware upload to zavsim from lrzsz's XMODEM sender, a program no one here wrote: the
// image zavsim keeps must be the file sent, byte for byte. Takes about 35 s of line time.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "link/wire.h"
#include "tests/sim/serial_client.h"
#include "tests/sim/zavsim_process.h"

namespace zav::sim {
namespace {

using namespace std::chrono_literals;

std::vector<char> ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(file), {});
}

class SimPeerUpload : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("zavsim-lrzsz-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::filesystem::path WriteRandomImage(std::size_t size) {
    std::mt19937 random(20240611);
    std::vector<char> bytes(size);
    for (char& byte : bytes) {
      byte = static_cast<char>(random() & 0xFFU);
    }
    const std::filesystem::path path = folder / "image.zav";
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
    return path;
  }

  std::filesystem::path folder;
};

TEST_F(SimPeerUpload, ImageSentBySxIsKeptByteForByte) {
  if (!std::filesystem::exists(SX_PATH)) {
    GTEST_SKIP() << "lrzsz's sx is not installed";
  }
  const std::filesystem::path image = WriteRandomImage(30720);
  const std::filesystem::path received = folder / "received.zav";
  testing::ChildProcess zavsim(ZAVSIM_PATH, {"--pty", "--firmware-out", received.string()});
  const std::optional<std::string> path = zavsim.ReadLine(20s);
  ASSERT_TRUE(path.has_value());
  testing::SerialClient line(*path);
  ASSERT_TRUE(line.IsOpen());

  ASSERT_TRUE(line.Write(EncodeRequest(kLetterUpgrade, 0, 0)));
  testing::ChildProcess sx(SX_PATH, {"-X", image.string()}, line.Fd());
  const std::optional<int> sxStatus = sx.WaitForExit(240s);
  ASSERT_TRUE(sxStatus.has_value()) << "sx did not finish";
  EXPECT_TRUE(WIFEXITED(*sxStatus) && WEXITSTATUS(*sxStatus) == 0) << sx.StandardError();

  const auto deadline = std::chrono::steady_clock::now() + 20s;
  while (!std::filesystem::exists(received) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(50ms);
  }
  ASSERT_TRUE(std::filesystem::exists(received));
  EXPECT_TRUE(ReadWholeFile(received) == ReadWholeFile(image));
}

}  // namespace
}  // namespace zav::sim
