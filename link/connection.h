#pragma once
// The health of the line as the link layer sees it: what state the connection is in, why
// the port could not be opened, and counters since it was opened. Kept up to date by the
// receiver, the poll tick's block requests and WatchConnection, which also closes a failed
// device and reopens it once a second until it is back, and tries a port another program
// holds once a second until it is free.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/serial_device.h"

namespace zav {

struct Link;

enum class LinkState {
  NoPort,      // no port name stored (no settings file, too short, COM0)
  CannotOpen,  // the stored port could not be opened; see fault (Busy: tried every kRetryTicks)
  Waiting,     // open, no frame taken since
  Answering,   // frames arrive
  Silent,      // open, answered before, nothing for kSilentAfterTicks
  Removed,     // the device failed and was closed; reopened every kRetryTicks
};

// Waiting, Answering and Silent: the device is open and polled.
constexpr bool PortIsOpen(LinkState state) {
  return state == LinkState::Waiting || state == LinkState::Answering || state == LinkState::Silent;
}

inline constexpr int kTickMs = 150;           // the poll period the tick counts assume
inline constexpr int kRateTicks = 20;         // bytes per second over the last 3 s
inline constexpr int kRetryTicks = 7;         // ticks between reopen tries, about 1 s
inline constexpr int kSilentAfterTicks = 14;  // about 2 s without a frame
inline constexpr std::uint32_t kResponseFrameBytes = 6;

// Counted since the port was last opened.
struct LinkCounters {
  std::uint64_t framesTaken = 0;
  std::uint64_t bytesDiscarded = 0;  // fed to the receiver, not part of a sound frame
  std::uint64_t requestsRepeated = 0;
  std::uint64_t bytesReceived = 0;  // everything read, upload answers included
};

struct Connection {
  LinkState state = LinkState::NoPort;
  std::string portName;    // as stored ("COM1"); empty when none is stored
  std::string devicePath;  // what it maps to; empty when unknown
  DeviceFault fault = DeviceFault::None;
  std::string faultText;  // the system's words
  LinkCounters counters;
  // Set by a firmware upload while the controller has not answered for 10 s or more.
  std::uint32_t uploadSilentSeconds = 0;
  // The open device was got by a retry (the busy port freed, the adapter back) rather than
  // by opening the stored port; cleared by every other open and by a loss. The window adds
  // the wall-clock moment (ms since 1970-01-01 UTC), which the link has no clock for; 0
  // while it has not.
  bool regained = false;
  std::int64_t regainedAtUnixMs = 0;

  std::uint32_t bytesInFrame = 0;  // fed since the receiver last waited for a start byte
  std::optional<std::uint8_t> unansweredRequest;  // block request without reply so far

  std::uint32_t ticks = 0;  // main-window ticks watched, for pacing what is shown
  std::uint64_t framesAtLastTick = 0;
  std::uint32_t ticksSinceFrame = 0;
  std::uint32_t ticksUntilRetry = 0;
  std::uint32_t ticksUnplugged = 0;
  std::array<std::uint32_t, kRateTicks> bytesPerTick{};  // ring, by tick
  std::size_t rateSlot = 0;
  std::uint64_t bytesAtLastTick = 0;
};

// Closed and tried again every kRetryTicks: a device that failed, or a port another program
// holds. Any other open failure waits for the user's choice of a port.
inline bool RetriesOpen(const Connection& connection) {
  return connection.state == LinkState::Removed ||
         (connection.state == LinkState::CannotOpen && connection.fault == DeviceFault::Busy);
}

// What an open of the stored port came to; `portName` is empty when none was stored.
void NoteOpenResult(Link& link, const std::string& portName, bool opened);
// One byte the receiver took; `frameDone` when it completed a sound frame, `waiting` when
// the receiver waits for a start byte after it.
void NoteReceiverByte(Connection& connection, bool frameDone, bool waiting);
void NoteBlockRequest(Connection& connection, std::uint8_t address);
inline void NoteBlockReply(Connection& connection) {
  connection.unansweredRequest.reset();
}

// Once per main-window tick, after the poll tick: state, rate, and closing and reopening a
// failed device. Never blocks longer than one open attempt.
void WatchConnection(Link& link);

// Bytes per second received over the last kRateTicks ticks.
std::uint32_t BytesPerSecond(const Connection& connection);
// Whole seconds since the last frame (Silent), and since the retries began (the device went,
// or the port was found busy).
std::uint32_t SilentSeconds(const Connection& connection);
std::uint32_t UnpluggedSeconds(const Connection& connection);

}  // namespace zav
