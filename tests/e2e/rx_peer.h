#pragma once
// lrzsz's XMODEM receiver rx as the far end of a pseudo-terminal, for upload tests.
//
// rx stands behind the line only once the program has asked for the upload: before that the
// program polls, and rx would take the polls for broken blocks and give up. socat relays
// between the line and rx, so rx's own terminal settings (and the input flush it does on
// exit, which could swallow its last ACK) stay off the program's side of the line.

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "link/wire.h"
#include "tests/qt/pseudo_terminal.h"
#include "tests/sim/zavsim_process.h"

namespace zav::test {

class RxPeer {
 public:
  RxPeer(PseudoTerminal& line, std::string rxPath, std::string socatPath)
      : line_(line), rxPath_(std::move(rxPath)), socatPath_(std::move(socatPath)) {}

  // Reads what the program sent; true once the upload request was among it.
  bool UploadRequested() {
    std::array<std::uint8_t, 256> buffer{};
    ssize_t count = 0;
    while ((count = read(line_.MasterFd(), buffer.data(), buffer.size())) > 0) {
      seen_.append(buffer.begin(), buffer.begin() + count);
    }
    const RequestBytes request = EncodeRequest(kLetterUpgrade, 0, 0);
    return seen_.find(std::string(request.begin(), request.end())) != std::string::npos;
  }

  // rx takes only a plain file name (it refuses paths), so it runs in the file's folder.
  void Start(const std::filesystem::path& received) {
    const int master = line_.MasterFd();
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) & ~O_NONBLOCK);
    const std::string rx = rxPath_ + " -X -b " + received.filename().string();
    relay_ = std::make_unique<sim::testing::ChildProcess>(
        socatPath_, std::vector<std::string>{"STDIO", "EXEC:" + rx}, master,
        received.parent_path().string());
  }

  bool Ended() { return relay_ && relay_->WaitForExit(std::chrono::milliseconds(20)).has_value(); }
  std::string Messages() const { return relay_ ? relay_->StandardError() : std::string(); }

 private:
  PseudoTerminal& line_;
  std::string rxPath_;
  std::string socatPath_;
  std::string seen_;
  std::unique_ptr<sim::testing::ChildProcess> relay_;
};

}  // namespace zav::test
