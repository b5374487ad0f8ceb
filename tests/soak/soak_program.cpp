#include "tests/soak/soak_program.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "resources/main_template.h"
#include "resources/transfer_template.h"
#include "tests/soak/soak_counters.h"
#include "tests/soak/soak_fitter.h"

namespace zav::testing {

namespace {

constexpr std::size_t kMostFailuresKept = 20;
constexpr std::size_t kTracedRequests = 40;
constexpr Micros kFitterStopsBeforeEnd = 10 * 60 * kSecond;

std::string TimeOfDay(Micros at) {
  const long long ms = at / kMillisecond;
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60,
                ms / 1000 % 60, ms % 1000);
  return text;
}

}  // namespace

SoakProgram::SoakProgram(const SoakOptions& soakOptions)
    : options(soakOptions),
      controller(sim::ControllerOptions{.seed = soakOptions.seed}),
      weather(desktop, controller, soakOptions.seed) {
  line.keepTraffic = false;
  ports.lines["COM1"] = &line;
  WriteFile(dir / "zavmon.cfg", "COM1");
  SetUpProgram(program, desktop, watch, dir.Path());
  desktop.SetTimeLimit(options.duration + kHour);
  desktop.answers.dialogEnding = [this](WindowRef window, int ending) {
    DialogEnding(window, ending);
  };
  controller.onRequest = [this](const sim::ReceivedRequest& request) {
    const bool writes = request.letter == kLetterSet && request.address >= kFirstImageRegister &&
                        request.address <= kLastWritableRegister;
    if (writes) {
      watch.NoteChange(request.address, controller.Register(request.address));
    } else if (request.letter == kLetterClearErrors) {
      watch.NoteChange(kErrorFlagsRegister, controller.Register(kErrorFlagsRegister));
    }
  };
  result.seed = options.seed;
}

SoakResult SoakProgram::Run() {
  Fitter fitter(*this, options.seed);
  weather.Start(options.duration - kFitterStopsBeforeEnd);
  fitter.Start(options.duration - kFitterStopsBeforeEnd);
  desktop.At(options.duration, [this] { desktop.RequestClose(kMainTemplateId); });
  try {
    RunMainWindow(program);
  } catch (const headless::ScriptError& error) {
    Fail(std::string("the run stopped: ") + error.what());
  }
  result.reached = clock.Now();
  if (result.reached < options.duration) {
    Fail("the run ended before its time");
  }
  CheckProgramCounters(*this);
  result.framesTaken = watch.FramesTaken();
  result.framesJudged = watch.FramesJudged();
  result.falseFrames = watch.FalseFrames();
  return result;
}

std::string SoakProgram::Where() const {
  std::string where =
      "seed " + std::to_string(options.seed) + ", virtual time " + TimeOfDay(clock.Now());
  if (const WeatherSpell* spell = weather.SpellAt(clock.Now())) {
    where += ", line " + DescribeSpell(*spell);
  }
  return where;
}

void SoakProgram::Fail(const std::string& what) {
  if (result.failures.size() < kMostFailuresKept) {
    result.failures.push_back(Where() + ": " + what);
    if (std::getenv("ZAV_SOAK_TRACE") != nullptr) {
      PrintLastRequests();
    }
  }
}

// With ZAV_SOAK_TRACE set, a failure also shows the requests the controller took last.
void SoakProgram::PrintLastRequests() const {
  const auto& requests = controller.Requests();
  const std::size_t from =
      requests.size() > kTracedRequests ? requests.size() - kTracedRequests : 0;
  for (std::size_t i = from; i < requests.size(); ++i) {
    std::fprintf(stderr, "  %s request %c %u %u\n", TimeOfDay(requests[i].at).c_str(),
                 requests[i].letter, requests[i].address, requests[i].value);
  }
}

bool SoakProgram::IsTransferDialog(WindowRef window) const {
  const headless::DialogRecord* newest = desktop.Newest(kTransferTemplateId);
  return newest != nullptr && newest->window == window && newest->IsOpen();
}

void SoakProgram::DialogEnding(WindowRef window, int ending) {
  if (!IsTransferDialog(window)) {
    return;
  }
  if (ending != 1) {
    std::string what = "a read from register " + std::to_string(expected.readFrom);
    if (program.link.cycle.upgradeArmed == UpgradeArming::Armed) {
      what = "an upload";
      expected.upload.reset();
    } else if (expected.write) {
      what = "a write";
      expected.write.reset();
    }
    result.givenUp.push_back(Where() + ": " + what + " given up by the fitter");
    if (std::getenv("ZAV_SOAK_TRACE") != nullptr) {
      std::fprintf(stderr, "%s\n", result.givenUp.back().c_str());
      PrintLastRequests();
    }
    return;
  }
  // The upload runs in the same dialog, while the upgrade is armed. The fitter starts
  // nothing else while a write he asked for is due, so the dialog is then the write's (its
  // letter is no help: the tick that ends a write polls at once, under 'Q').
  if (program.link.cycle.upgradeArmed == UpgradeArming::Armed) {
    CheckUpload();
  } else if (expected.write) {
    CheckWrite();
  } else {
    CheckRead();
  }
}

void SoakProgram::ReadMismatch(std::uint8_t address, std::uint16_t shown, std::uint16_t held) {
  const std::string what = "register " + std::to_string(address) + " read as " +
                           std::to_string(shown) + ", the controller holds " + std::to_string(held);
  if (watch.TookFalse(address, shown, expected.startedAt)) {
    result.falsePasses.push_back(Where() + ": " + what +
                                 " (a damaged frame passed the one-byte sum)");
  } else {
    Fail("a completed read differs: " + what);
  }
}

void SoakProgram::CheckRead() {
  ++result.tally.readsDone;
  for (unsigned address = expected.readFrom; address <= kLastImageRegister; ++address) {
    const auto at = static_cast<std::uint8_t>(address);
    const std::uint16_t shown = ImageValue(program.link.image, at);
    if (shown != controller.Register(at)) {
      ReadMismatch(at, shown, controller.Register(at));
    }
  }
  if (expected.readFrom == kFirstImageRegister && expected.readBack) {
    ++result.tally.readBacksDone;
    for (int i = 0; i < kWritableRegisters; ++i) {
      const auto at = static_cast<std::uint8_t>(kFirstImageRegister + i);
      if (controller.Register(at) != (*expected.readBack)[i]) {
        Fail("the read-back after a completed write finds register " + std::to_string(at) + " at " +
             std::to_string(controller.Register(at)) + ", written was " +
             std::to_string((*expected.readBack)[i]));
      }
    }
    expected.readBack.reset();
  }
}

void SoakProgram::CheckWrite() {
  ++result.tally.writesDone;
  bool exact = true;
  for (int i = 0; i < kWritableRegisters; ++i) {
    const auto at = static_cast<std::uint8_t>(kFirstImageRegister + i);
    const std::uint16_t wanted = (*expected.write)[i];
    if (controller.Register(at) == wanted) {
      continue;
    }
    exact = false;
    const std::string what = "register " + std::to_string(at) + " holds " +
                             std::to_string(controller.Register(at)) + ", written was " +
                             std::to_string(wanted);
    if (watch.TookFalse(at, controller.Register(at), expected.startedAt)) {
      result.falsePasses.push_back(Where() + ": completed write: " + what +
                                   " (a damaged frame passed the one-byte sum)");
    } else {
      Fail("a completed write left the controller different: " + what);
    }
  }
  if (exact) {
    expected.readBack = expected.write;
  }
  expected.write.reset();
}

void SoakProgram::CheckUpload() {
  ++result.tally.uploadsDone;
  if (!expected.upload) {
    Fail("an upload completed that the fitter did not start");
    return;
  }
  const std::vector<std::uint8_t>& held = controller.Firmware();
  if (held != *expected.upload) {
    const auto differ =
        std::mismatch(held.begin(), held.end(), expected.upload->begin(), expected.upload->end());
    Fail("a completed upload left the controller with a different image (" +
         std::to_string(held.size()) + " bytes, the first difference at byte " +
         std::to_string(differ.first - held.begin()) + "; the controller " +
         (controller.Uploading() ? "still receives" : "is not receiving") + ")");
  }
  expected.upload.reset();
}

}  // namespace zav::testing
