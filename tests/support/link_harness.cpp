#include "tests/support/link_harness.h"

#include <algorithm>
#include <iterator>

#include "tests/support/temp_dir.h"

namespace zav::testing {

namespace {

const DialogTemplate& StandInMainTemplate() {
  static const DialogTemplate kTemplate{.id = kStandInMainTemplate, .title = "main"};
  return kTemplate;
}

}  // namespace

LinkHarness::LinkHarness(sim::ControllerOptions options) : controller(options) {
  ports.lines["COM1"] = &line;
  link.desktop = &desktop;
  link.device = &device;
  link.settingsFile = dir / "zavmon.cfg";
  WriteFile(link.settingsFile, "COM1");
}

void LinkHarness::RunUntil(Micros end) {
  desktop.At(end, [this] { desktop.RequestClose(kStandInMainTemplate); });
  mainResult = desktop.RunDialog(StandInMainTemplate(), WindowRef{},
                                 [this](Desktop& desk, WindowRef window, const DialogEvent& e) {
                                   return MainProc(desk, window, e);
                                 });
}

bool LinkHarness::MainProc(Desktop& desk, WindowRef window, const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init:
      link.mainWindow = window;
      if (!OpenSerialPort(link)) {
        desk.ShowMessage(window, kPortErrorText, kErrorCaption, MessageButtons::Ok,
                         MessageIcon::Error);
      }
      desk.SetTimer(window, kPollTimerId, kPollPeriodMs);
      return true;
    case DialogMessage::Timer:
      tickStarts_.push_back(line.SentByProgram().size());
      PollTick(link);
      return true;
    case DialogMessage::Close:
      ClosePort(link);
      desk.EndDialog(window, 0);
      desk.KillTimer(window, kPollTimerId);
      return true;
    default:
      return false;
  }
}

std::vector<SentFrame> LinkHarness::FramesSent() const {
  const auto& bytes = line.SentByProgram();
  std::vector<SentFrame> frames;
  for (std::size_t start = 0; start + 7 <= bytes.size(); start += 7) {
    SentFrame frame;
    for (std::size_t i = 0; i < 7; ++i) {
      frame.bytes[i] = bytes[start + i].byte;
    }
    const auto after = std::upper_bound(tickStarts_.begin(), tickStarts_.end(), start);
    frame.tick = static_cast<int>(std::distance(tickStarts_.begin(), after));
    frames.push_back(frame);
  }
  return frames;
}

std::vector<SentFrame> LinkHarness::FramesOfTick(int tick) const {
  std::vector<SentFrame> frames;
  for (const SentFrame& frame : FramesSent()) {
    if (frame.tick == tick) {
      frames.push_back(frame);
    }
  }
  return frames;
}

}  // namespace zav::testing
