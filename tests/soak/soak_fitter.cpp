#include "tests/soak/soak_fitter.h"

#include "link/wire.h"
#include "resources/main_template.h"
#include "resources/menu.h"
#include "resources/parameters_template.h"
#include "resources/transfer_template.h"
#include "ui/main_window.h"
#include "upgrade/firmware_layout.h"

namespace zav::testing {

namespace {

constexpr Micros kShortestPause = 2 * kSecond;
constexpr Micros kLongestPause = 120 * kSecond;
constexpr Micros kLookAgain = 1 * kSecond;
constexpr Micros kPatienceForTransfer = 3 * 60 * kSecond;
constexpr Micros kPatienceForUpload = 10 * 60 * kSecond;
constexpr Micros kPatienceForWrite = 5 * 60 * kSecond;  // from "Send" to the write's end
constexpr Micros kLongestBusy = 30 * 60 * kSecond;

std::string Word(std::uint16_t value) {
  return {static_cast<char>(LowByte(value)), static_cast<char>(HighByte(value))};
}

}  // namespace

Fitter::Fitter(SoakProgram& soak, std::uint32_t seed)
    : soak_(soak), random_{std::uint64_t{seed} * 0x9E3779B1ULL + 0xF17} {
  sim::NextBits(random_);
  soak_.desktop.answers.message = [](std::string_view) { return MessageAnswer::Ok; };
  soak_.desktop.answers.fileToOpen = [this]() -> std::optional<std::string> { return file_; };
}

void Fitter::Start(Micros stopAt) {
  stopAt_ = stopAt;
  Later(10 * kSecond);
}

void Fitter::Later(Micros delay) {
  soak_.desktop.At(soak_.clock.Now() + delay, [this] { Act(); });
}

bool Fitter::MainWindowFree() const {
  const CycleState& cycle = soak_.program.link.cycle;
  const auto open = [this](int templateId) {
    const headless::DialogRecord* newest = soak_.desktop.Newest(templateId);
    return newest != nullptr && newest->IsOpen();
  };
  return soak_.desktop.BoxesOpen() == 0 && !open(kTransferTemplateId) &&
         !open(kParametersTemplateId) && cycle.sendRequest == SendRequest::None &&
         cycle.upgradeArmed == UpgradeArming::Disarmed && cycle.transferCursor == kNoTransfer;
}

void Fitter::Act() {
  if (soak_.clock.Now() >= stopAt_) {
    return;
  }
  if (!MainWindowFree()) {
    // A fitter cannot wait for ever: the program must come back to him.
    if (soak_.clock.Now() - freeAt_ > kLongestBusy) {
      soak_.Fail("the main window has taken no clicks for 30 min");
      freeAt_ = soak_.clock.Now();
    }
    Later(kLookAgain);
    return;
  }
  freeAt_ = soak_.clock.Now();
  if (soak_.expected.readBack) {
    // A completed write is read back on a calm line (cable checked, engine off).
    soak_.weather.CalmNow();
    Read(kFirstImageRegister, kCommandReadFromZav);
    Later(sim::NextInRange(random_, kShortestPause, kLongestPause));
    return;
  }
  Do(DrawTask());
  Later(sim::NextInRange(random_, kShortestPause, kLongestPause));
}

Fitter::Task Fitter::DrawTask() {
  // Weights out of 100: reads and writes most, an upload now and then.
  const std::int64_t draw = sim::NextInRange(random_, 0, 99);
  const std::pair<int, Task> kTasks[] = {
      {25, Task::kRead},    {45, Task::kWrite},  {60, Task::kParameters}, {70, Task::kErrors},
      {80, Task::kVersion}, {96, Task::kSwitch}, {100, Task::kUpload}};
  for (const auto& [below, task] : kTasks) {
    if (draw < below) {
      return task;
    }
  }
  return Task::kRead;
}

void Fitter::Do(Task task) {
  ++serial_;
  switch (task) {
    case Task::kRead:
      Read(kFirstImageRegister, kCommandReadFromZav);
      break;
    case Task::kWrite:
      Write();
      break;
    case Task::kParameters:
      OpenAndCloseParameters();
      break;
    case Task::kErrors:
      soak_.watch.NoteChange(kErrorFlagsRegister, soak_.controller.Register(kErrorFlagsRegister));
      soak_.controller.SetErrorFlags(static_cast<std::uint16_t>(sim::NextBits(random_)));
      Read(kErrorFlagsRegister, kCommandShowErrors);
      break;
    case Task::kVersion:
      Read(kHardwareVersionRegister, kCommandZavVersion);
      break;
    case Task::kSwitch:
      ++soak_.result.tally.switches;
      soak_.desktop.Press(kMainTemplateId, kSwitchButton);
      break;
    case Task::kUpload:
      Upload();
      break;
  }
}

void Fitter::GiveUpAfter(Micros wait) {
  soak_.desktop.At(soak_.clock.Now() + wait, [this, serial = serial_] {
    const headless::DialogRecord* newest = soak_.desktop.Newest(kTransferTemplateId);
    if (serial == serial_ && newest != nullptr && newest->IsOpen() &&
        soak_.desktop.BoxesOpen() == 0) {
      soak_.desktop.RequestClose(kTransferTemplateId);
    }
  });
}

void Fitter::Read(std::uint8_t from, int command) {
  soak_.expected.readFrom = from;
  soak_.expected.startedAt = soak_.clock.Now();
  GiveUpAfter(kPatienceForTransfer);
  if (command != kCommandReadFromZav) {
    ++soak_.result.tally.reportsAsked;
  }
  // The command runs its question, transfer and report boxes before it returns.
  soak_.desktop.Press(kMainTemplateId, command);
}

void Fitter::Write() {
  WrittenValues values{};
  std::string bytes;
  for (std::uint16_t& value : values) {
    value = static_cast<std::uint16_t>(sim::NextBits(random_));
    bytes += Word(value);
  }
  bytes += Word(0) + Word(0) + Word(0x3130);  // registers 93 and 94, the hardware word
  file_ = (soak_.dir / ("set" + std::to_string(++filesWritten_ % 8) + ".car")).string();
  WriteFile(file_, bytes);
  soak_.expected.write = values;
  soak_.expected.startedAt = soak_.clock.Now();
  GiveUpAfter(kPatienceForWrite);
  // Open, then "Send data to ZAV ?" answered OK: the ticks write once the state is Petrol.
  soak_.desktop.Press(kMainTemplateId, kCommandOpen);
}

void Fitter::OpenAndCloseParameters() {
  ++soak_.result.tally.parameterDialogs;
  soak_.desktop.At(
      soak_.clock.Now() + sim::NextInRange(random_, 2 * kSecond, 60 * kSecond), [this] {
        const headless::DialogRecord* dialog = soak_.desktop.Newest(kParametersTemplateId);
        if (dialog != nullptr && dialog->IsOpen()) {
          soak_.desktop.RequestClose(kParametersTemplateId);
        }
      });
  soak_.desktop.Press(kMainTemplateId, kCommandEdit);
}

void Fitter::Upload() {
  const auto size = static_cast<std::size_t>(
      sim::NextInRange(random_, 1, static_cast<std::int64_t>(kFirmwareImageBytes) + 4096));
  std::string bytes(size, '\0');
  for (char& byte : bytes) {
    byte = static_cast<char>(sim::NextBits(random_));
  }
  file_ = (soak_.dir / "firmware.bin").string();
  WriteFile(file_, bytes);
  std::vector<std::uint8_t> image(kFirmwareImageBytes, 0x00);
  for (std::size_t i = 0; i < image.size() && i < bytes.size(); ++i) {
    image[i] = static_cast<std::uint8_t>(bytes[i]);
  }
  soak_.expected.upload = std::move(image);
  GiveUpAfter(kPatienceForUpload);
  // The next tick sends the request and runs the upload dialog.
  soak_.desktop.Press(kMainTemplateId, kCommandUpgrade);
}

}  // namespace zav::testing
