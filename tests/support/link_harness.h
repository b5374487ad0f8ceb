#pragma once
// The device link on the headless host, wired to an in-process controller on COM1, with a
// stand-in main window that opens the port at start and runs the poll tick every 150 ms.

#include <cstdint>
#include <vector>

#include "hosts/headless/headless_desktop.h"
#include "hosts/headless/virtual_serial_device.h"
#include "link/block_transfer.h"
#include "link/poll_cycle.h"
#include "link/serial_port.h"
#include "sim/controller.h"
#include "tests/support/temp_dir.h"

namespace zav::testing {

using headless::kMillisecond;
using headless::kSecond;
using headless::Micros;

inline constexpr int kStandInMainTemplate = 1;
inline constexpr Micros kTick = 150 * kMillisecond;

// A request frame as it left the program, with the tick that sent it (1 = first tick).
struct SentFrame {
  RequestBytes bytes{};
  int tick = 0;
  char Letter() const { return static_cast<char>(bytes[1]); }
  std::uint8_t Address() const { return bytes[2]; }
};

class LinkHarness {
 public:
  explicit LinkHarness(sim::ControllerOptions options = {});

  // Runs the main window from time 0 until `end`, when its close box is pressed.
  void RunUntil(Micros end);
  // Time at which tick n (from 1) starts.
  static Micros TickTime(int n) { return n * kTick; }

  // Every request frame sent so far (upload packets are not frames and must not be sent).
  std::vector<SentFrame> FramesSent() const;
  std::vector<SentFrame> FramesOfTick(int tick) const;
  // Number of ticks run so far, nested ones included.
  int Ticks() const { return static_cast<int>(tickStarts_.size()); }

  TempDir dir;
  headless::VirtualClock clock;
  sim::Controller controller;
  headless::VirtualLine line{clock, controller};
  headless::VirtualPorts ports;
  headless::VirtualSerialDevice device{clock, ports};
  headless::HeadlessDesktop desktop{clock};
  Link link;
  int mainResult = -1;

 private:
  bool MainProc(Desktop& desk, WindowRef window, const DialogEvent& event);

  std::vector<std::size_t> tickStarts_;  // bytes sent before each tick began
};

}  // namespace zav::testing
