// A parameter write on the real Qt host against zavsim on a pseudo-terminal: the main
// window's 150 ms tick starts the block write once the controller reports "Petrol", the
// write runs through the ticks nested inside the transfer dialog's loop, and a block read
// afterwards finds the written values in the controller.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "hosts/qt/qt_desktop.h"
#include "hosts/qt_core/qt_serial_device.h"
#include "link/block_transfer.h"
#include "link/link_state.h"
#include "link/poll_cycle.h"
#include "link/wire.h"
#include "resources/transfer_template.h"
#include "tests/qt/dialog_script.h"
#include "tests/qt/test_templates.h"
#include "tests/qt/zavsim_child.h"

namespace zav {
namespace {

constexpr const char* kBlockWritePort = "COM1";
constexpr std::uint8_t kFirstWritten = 80;
constexpr std::uint8_t kLastWritten = 92;
constexpr std::size_t kFrameLength = 7;
constexpr std::size_t kLetterByte = 1;
constexpr std::size_t kAddressByte = 2;
// Both transfers take about 6 s; after this long something is wrong (ms).
constexpr int kRescueTimerId = 2;
constexpr int kRescueAfterMs = 45000;

// The Qt host, noting the result of every dialog it ran.
class NotingDesktop : public QtDesktop {
 public:
  struct Ended {
    int templateId;
    int result;
  };

  int RunDialog(const DialogTemplate& dialog, WindowRef owner, DialogProc proc) override {
    const int result = QtDesktop::RunDialog(dialog, owner, std::move(proc));
    ended.push_back({dialog.id, result});
    return result;
  }

  std::vector<Ended> ended;
};

// The serial device, noting every byte the program writes.
class NotingDevice : public SerialDevice {
 public:
  explicit NotingDevice(SerialDevice& device) : device_(device) {}
  bool Open(std::string_view portName) override { return device_.Open(portName); }
  void Close() override { device_.Close(); }
  bool IsOpen() const override { return device_.IsOpen(); }
  std::optional<std::uint8_t> ReadByte() override { return device_.ReadByte(); }
  void Write(std::span<const std::uint8_t> bytes) override {
    written.insert(written.end(), bytes.begin(), bytes.end());
    device_.Write(bytes);
  }

  std::vector<std::uint8_t> written;

 private:
  SerialDevice& device_;
};

PortLookups PortOneAt(const std::string& path) {
  return PortLookups{
      .environment =
          [path](const std::string& variable) {
            return variable == "ZAVMON_COM1" ? path : std::string();
          },
      .exists = [](const std::string&) { return false; },
  };
}

// Addresses of the 'S' frames written, in order, each once.
std::vector<int> SetAddresses(const std::vector<std::uint8_t>& written) {
  std::vector<int> addresses;
  for (std::size_t at = 0; at + kFrameLength <= written.size(); at += kFrameLength) {
    const int address = written[at + kAddressByte];
    if (written[at + kLetterByte] == kLetterSet &&
        (addresses.empty() || addresses.back() != address)) {
      addresses.push_back(address);
    }
  }
  return addresses;
}

// A transfer that never ends would keep its dialog open for good: the user's close box.
void CloseTransferDialog() {
  if (QWidget* transfer = QApplication::activeModalWidget()) {
    transfer->close();
  }
}

std::uint16_t WrittenValue(std::uint8_t address) {
  return static_cast<std::uint16_t>(1000 + 37 * (address - kFirstWritten));
}

class BlockWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::optional<std::string> path = zavsim_.TerminalPath(std::chrono::seconds(10));
    ASSERT_TRUE(path.has_value());
    device_.emplace(PortOneAt(*path));
    ASSERT_TRUE(device_->Open(kBlockWritePort));
  }

  void TearDown() override {
    if (device_) {
      device_->Close();
    }
  }

  test::ZavsimChild zavsim_{ZAVSIM_PATH};
  std::optional<QtSerialDevice> device_;
};

TEST_F(BlockWriteTest, WriteStartedByATickCompletesThroughTheTransferDialogsNestedLoop) {
  NotingDesktop desktop;
  NotingDevice device(*device_);
  Link link;
  link.desktop = &desktop;
  link.device = &device;
  for (std::uint8_t address = kFirstWritten; address <= kLastWritten; ++address) {
    ImageValue(link.image, address) = WrittenValue(address);
  }
  RequestParameterWrite(link);

  bool readStarted = false;
  int readResult = -1;
  bool rescued = false;
  test::DialogScript mainWindow([&](Desktop& d, WindowRef window, const DialogEvent& event) {
    if (event.message == DialogMessage::Init) {
      link.mainWindow = window;
      d.SetTimer(window, kPollTimerId, kPollPeriodMs);
      d.SetTimer(window, kRescueTimerId, kRescueAfterMs);
      return;
    }
    if (event.message == DialogMessage::Timer && event.id == kRescueTimerId) {
      rescued = true;
      CloseTransferDialog();
      d.EndDialog(window, 0);
      return;
    }
    if (event.message != DialogMessage::Timer || event.id != kPollTimerId) {
      return;
    }
    PollTick(link);
    const bool writeDone = !desktop.ended.empty() && link.cycle.sendRequest == SendRequest::None;
    if (writeDone && !readStarted && !rescued) {
      readStarted = true;  // the ticks nested in the read come here too
      link.image.values.fill(0);
      readResult = RunBlockTransfer(link, kFirstImageRegister, kLetterQuery);
      d.EndDialog(window, 0);
    }
  });
  EXPECT_EQ(desktop.RunDialog(test::PlainTemplate(), {}, mainWindow.Proc()), 0);
  ASSERT_FALSE(rescued) << "the transfers did not finish; " << device.written.size()
                        << " bytes were written";

  ASSERT_GE(desktop.ended.size(), 2U);
  EXPECT_EQ(desktop.ended[0].templateId, kTransferTemplateId);
  EXPECT_EQ(desktop.ended[0].result, 1);  // the write reached its end, not a cancel
  std::vector<int> expected;
  for (int address = kFirstWritten; address <= kLastWritten; ++address) {
    expected.push_back(address);
  }
  EXPECT_EQ(SetAddresses(device.written), expected);
  ASSERT_EQ(readResult, 1);
  for (std::uint8_t address = kFirstWritten; address <= kLastWritten; ++address) {
    EXPECT_EQ(ImageValue(link.image, address), WrittenValue(address)) << int(address);
  }
}

}  // namespace
}  // namespace zav
