#pragma once
// The state of the device link, held by the program object and passed to every link
// procedure. One instance per program; tests create it afresh.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

#include "link/connection.h"
#include "link/wire.h"
#include "platform/desktop.h"
#include "platform/serial_device.h"

namespace zav {

inline constexpr std::uint8_t kNoTransfer = 103;  // TransferCursor when no block transfer runs
inline constexpr int kImageSize = kLastImageRegister - kFirstImageRegister + 1;  // 23 registers
inline constexpr int kLiveRows = kLastLiveRegister - kFirstLiveRegister + 1;     // 19 rows

// The one request frame buffer; byte 1 is CurrentCommand, the letter of the next frame.
struct RequestBuffer {
  RequestBytes bytes{kFrameStart, 0, 0, 0, 0, 0, kFrameEnd};
};

// Assembles response frames byte by byte; it persists across calls and ticks.
struct FrameReceiver {
  static constexpr std::uint8_t kWaitingForStart = 5;
  std::uint8_t index = kWaitingForStart;  // slot of the next frame byte, 5 while waiting
  // 0 address, 1 value high, 2 value low, 3 checksum, 4 end byte, 5 spare (never read)
  std::array<std::uint8_t, 6> slotBytes{};
};

// Last reported (or about to be written) values of registers 80 to 102.
struct RegisterImage {
  std::array<std::uint16_t, kImageSize> values{};
};

// Live values of registers 32 to 50, row = address - 32.
struct LiveValueTable {
  std::array<std::uint16_t, kLiveRows> values{};
};

// Where a parameter write stands.
enum class SendRequest : std::uint8_t {
  None,           // no write asked for
  AwaitPetrol,    // asked for: starts once the controller reports "Petrol"
  StartWriteNow,  // "Petrol" came: the tick starts the block write
};

// Whether a chosen firmware file waits for the 'U' frame to go out.
enum class UpgradeArming : std::uint8_t { Disarmed, Armed };

struct CycleState {
  std::uint8_t transferCursor = kNoTransfer;  // next register of a block transfer
  std::uint8_t replyCredit = 0;               // a block request may leave at 2
  std::uint8_t statusSilence = 0;             // ticks since the last status frame
  SendRequest sendRequest = SendRequest::None;
  UpgradeArming upgradeArmed = UpgradeArming::Disarmed;
};

// What one tick's live replies (registers 32 to 51) brought.
struct LiveReplies {
  const LiveValueTable* live = nullptr;  // the table as the drain left it
  bool statusArrived = false;
  std::uint16_t status = 0;  // the last status value among them, when one arrived
};

// What the tick calls into the rest of the program. Any of them may be empty.
struct TickHooks {
  std::function<void(std::uint16_t status)> showStatusText;
  std::function<void()> showLiveValues;
  std::function<void()> showParameterValues;
  std::function<void()> showConfigName;
  // Runs the firmware upload dialog modally; the line is then the upload's alone.
  std::function<void()> runUpload;
  // Called in order, once per tick in which live replies arrived, right after the drain.
  // Subscribers only read: they never send, store or wait.
  std::vector<std::function<void(const LiveReplies&)>> liveSample;
};

struct Link {
  Desktop* desktop = nullptr;
  SerialDevice* device = nullptr;
  std::filesystem::path settingsFile = "zavmon.cfg";
  WindowRef mainWindow;

  std::uint8_t portNumber = 0;  // digit of the stored port name, for the port list
  RequestBuffer request;
  FrameReceiver receiver;
  RegisterImage image;
  LiveValueTable live;
  CycleState cycle;
  TickHooks hooks;
  Connection connection;  // state and counters of the line, for the status line
};

inline std::uint8_t& CurrentCommand(Link& link) {
  return link.request.bytes[1];
}

inline bool IsImageRegister(unsigned address) {
  return address >= kFirstImageRegister && address <= kLastImageRegister;
}
inline std::uint16_t& ImageValue(RegisterImage& image, std::uint8_t address) {
  return image.values[static_cast<std::size_t>(address - kFirstImageRegister)];
}

}  // namespace zav
