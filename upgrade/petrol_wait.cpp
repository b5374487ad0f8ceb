#include "upgrade/petrol_wait.h"

#include <string>

#include "resources/petrol_wait_template.h"

namespace zav {

namespace {

constexpr int kReachedPetrol = 1;
constexpr int kCancelledWait = 0;
constexpr int kWaitedTooLong = 2;

bool OnPetrol(const StatusWatch& watch) {
  return watch.lastStatus == kStatusPetrol;
}

void ShowSecondsLeft(Desktop& desktop, WindowRef window, std::int64_t elapsedMs) {
  const std::int64_t leftS = (kPetrolWaitLimitMs - elapsedMs + 999) / 1000;
  desktop.SetText(window, kPetrolWaitText,
                  "Waiting for the controller to report \"Petrol\" (at most " +
                      std::to_string(leftS < 0 ? 0 : leftS) + " s more).");
}

void EndWait(Desktop& desktop, WindowRef window, int result) {
  desktop.KillTimer(window, kPetrolWaitTimerId);
  desktop.EndDialog(window, result);
}

void OnWaitTick(const StatusWatch& watch, std::int64_t startedAtMs, Desktop& desktop,
                WindowRef window) {
  const std::int64_t elapsedMs = desktop.NowMs() - startedAtMs;
  if (OnPetrol(watch)) {
    EndWait(desktop, window, kReachedPetrol);
  } else if (elapsedMs >= kPetrolWaitLimitMs) {
    EndWait(desktop, window, kWaitedTooLong);
  } else {
    ShowSecondsLeft(desktop, window, elapsedMs);
  }
}

}  // namespace

bool PetrolWaitProc(const StatusWatch& watch, std::int64_t startedAtMs, Desktop& desktop,
                    WindowRef window, const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init:
      ShowSecondsLeft(desktop, window, desktop.NowMs() - startedAtMs);
      desktop.SetTimer(window, kPetrolWaitTimerId, kPetrolWaitTickMs);
      return true;
    case DialogMessage::Timer:
      OnWaitTick(watch, startedAtMs, desktop, window);
      return true;
    case DialogMessage::Command:
      if (event.id == kPetrolWaitCancelButton || event.id == kCommandEscape) {
        EndWait(desktop, window, kCancelledWait);
      }
      return true;
    case DialogMessage::Close:
      EndWait(desktop, window, kCancelledWait);
      return true;
    default:
      return false;
  }
}

PetrolWait SwitchToPetrol(Link& link, const StatusWatch& watch) {
  CurrentCommand(link) = kLetterSwitch;  // the next idle branch sends it, as after "switch"
  const std::int64_t startedAtMs = link.desktop->NowMs();
  const int result = link.desktop->RunDialog(
      PetrolWaitTemplate(), link.mainWindow,
      [&watch, startedAtMs](Desktop& desktop, WindowRef window, const DialogEvent& event) {
        return PetrolWaitProc(watch, startedAtMs, desktop, window, event);
      });
  if (result == kCancelledWait && CurrentCommand(link) == kLetterSwitch) {
    CurrentCommand(link) = kLetterQuery;  // a switch not sent yet is withdrawn with the wait
  }
  switch (result) {
    case kReachedPetrol:
      return PetrolWait::kPetrol;
    case kWaitedTooLong:
      return PetrolWait::kTimedOut;
    default:
      return PetrolWait::kCancelled;
  }
}

}  // namespace zav
