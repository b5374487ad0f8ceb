#include "hosts/win32_core/fine_waits.h"

#include <windows.h>
// After windows.h, which it needs:
#include <timeapi.h>

namespace zav::win32 {

namespace {
constexpr UINT kStepMs = 1;  // the finest step the system offers
}  // namespace

FineWaits::FineWaits() : granted_(timeBeginPeriod(kStepMs) == TIMERR_NOERROR) {}

FineWaits::~FineWaits() {
  if (granted_) {
    timeEndPeriod(kStepMs);
  }
}

}  // namespace zav::win32
