#pragma once
// A soak: the whole program (main window, poll cycle, dialogs) on the headless host against
// the in-process controller for hours of virtual time, while the line's weather changes and
// a scripted fitter works. What the fitter waits for is checked the moment the program takes
// it as complete. Everything random comes from the seed: a run can be repeated exactly.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "hosts/headless/virtual_serial_device.h"
#include "sim/controller.h"
#include "tests/soak/frame_watch.h"
#include "tests/soak/line_weather.h"
#include "tests/soak/soak_desktop.h"
#include "tests/support/temp_dir.h"
#include "ui/program.h"

namespace zav::testing {

using headless::kMillisecond;
using headless::kSecond;
using headless::Micros;

inline constexpr Micros kHour = 3600 * kSecond;
inline constexpr int kWritableRegisters = kLastWritableRegister - kFirstImageRegister + 1;  // 13

using WrittenValues = std::array<std::uint16_t, kWritableRegisters>;

struct SoakOptions {
  std::uint32_t seed = 1;
  Micros duration = kHour;
};

struct SoakTally {
  int readsDone = 0;
  int readBacksDone = 0;
  int writesDone = 0;
  int uploadsDone = 0;
  int reportsAsked = 0;
  int parameterDialogs = 0;
  int switches = 0;
};

struct SoakResult {
  std::uint32_t seed = 0;
  Micros reached = 0;  // the virtual time the run got to
  // An invariant broken: the seed, the virtual time, what, and the line's weather then.
  std::vector<std::string> failures;
  // A completed transfer spoiled by a damaged frame that passed the one-byte sum.
  std::vector<std::string> falsePasses;
  SoakTally tally;
  std::vector<std::string> givenUp;  // transfers the fitter closed, with where and what
  std::uint64_t framesTaken = 0;
  std::uint64_t framesJudged = 0;
  std::vector<FalseFrame> falseFrames;
};

// What the fitter has started and waits for.
struct Expectation {
  std::uint8_t readFrom = kFirstImageRegister;  // first register of the read running now
  Micros startedAt = 0;
  std::optional<WrittenValues> write;               // a write of these values has been asked for
  std::optional<WrittenValues> readBack;            // the next full read must show these
  std::optional<std::vector<std::uint8_t>> upload;  // the image an upload must leave
};

class SoakProgram {
 public:
  explicit SoakProgram(const SoakOptions& options);
  SoakProgram(const SoakProgram&) = delete;
  SoakProgram& operator=(const SoakProgram&) = delete;

  SoakResult Run();

  // Records a broken invariant with the seed, the virtual time and the weather.
  void Fail(const std::string& what);
  std::string Where() const;
  bool IsTransferDialog(WindowRef window) const;

  SoakOptions options;
  TempDir dir;
  headless::VirtualClock clock;
  sim::Controller controller;
  headless::VirtualLine line{clock, controller};
  headless::VirtualPorts ports;
  headless::VirtualSerialDevice device{clock, ports};
  FrameWatch watch{device, clock, controller};
  SoakDesktop desktop{clock};
  Program program;
  LineWeather weather;
  Expectation expected;
  SoakResult result;

 private:
  void DialogEnding(WindowRef window, int result);
  void PrintLastRequests() const;
  void CheckRead();
  void CheckWrite();
  void CheckUpload();
  // A register the program read differs from the controller: a false frame explains it, or
  // the invariant is broken.
  void ReadMismatch(std::uint8_t address, std::uint16_t shown, std::uint16_t held);
};

}  // namespace zav::testing
