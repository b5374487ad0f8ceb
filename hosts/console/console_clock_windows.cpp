// The console host's clock on the Windows API. A wait sleeps, or, while a question waits
// for its answer, watches the console's input for the Enter that ends the typed line.
// The time is the performance counter's (steady_clock), not the tick count, which steps by
// 15.6 ms; the waits are fine while the clock lives.
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>

#include "hosts/console/console_clock.h"
#include "hosts/win32_core/fine_waits.h"

namespace zav::console {

namespace {

// Whether the console's input holds a pressed Enter: the line can then be read whole.
bool EnterWaiting(HANDLE input) {
  std::array<INPUT_RECORD, 128> records{};
  DWORD count = 0;
  if (PeekConsoleInputW(input, records.data(), static_cast<DWORD>(records.size()), &count) == 0) {
    return false;
  }
  return std::any_of(records.begin(), records.begin() + count, [](const INPUT_RECORD& record) {
    return record.EventType == KEY_EVENT && record.Event.KeyEvent.bKeyDown &&
           record.Event.KeyEvent.wVirtualKeyCode == VK_RETURN;
  });
}

class WindowsClock final : public ConsoleClock {
 public:
  std::int64_t NowMs() override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }

  bool Wait(int ms, std::FILE* answers) override {
    if (answers == nullptr) {
      Sleep(static_cast<DWORD>(ms));
      return false;
    }
    const auto input = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(answers)));
    const std::int64_t startedMs = NowMs();
    // Any key or focus event signals the input; only Enter ends the wait early, and the
    // rest of the time is slept rather than spun on an input that stays signalled.
    if (WaitForSingleObject(input, static_cast<DWORD>(ms)) == WAIT_OBJECT_0 &&
        EnterWaiting(input)) {
      return true;
    }
    const std::int64_t leftMs = ms - (NowMs() - startedMs);
    if (leftMs > 0) {
      Sleep(static_cast<DWORD>(leftMs));
    }
    return false;
  }

 private:
  win32::FineWaits fineWaits_;
};

}  // namespace

std::unique_ptr<ConsoleClock> SystemClock() {
  return std::make_unique<WindowsClock>();
}

}  // namespace zav::console
