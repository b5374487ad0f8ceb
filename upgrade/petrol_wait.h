#pragma once
// Switching the controller to petrol before an upgrade: the switch frame goes out as after
// the window's "switch" button, and a small dialog waits, with a Cancel, until a status
// frame reports "Petrol". Poll ticks keep running behind it, so the switch frame and the
// status frames travel as usual.

#include <cstdint>

#include "link/link_state.h"
#include "upgrade/status_watch.h"

namespace zav {

inline constexpr int kPetrolWaitTimerId = 1;
inline constexpr int kPetrolWaitTickMs = 100;
inline constexpr std::int64_t kPetrolWaitLimitMs = 10000;

enum class PetrolWait { kPetrol, kCancelled, kTimedOut };

// Asks for the switch and waits for "Petrol", at most 10 s.
PetrolWait SwitchToPetrol(Link& link, const StatusWatch& watch);

// The waiting dialog's procedure, for tests that run it themselves. `startedAtMs` is when
// the wait began (desktop clock, ms).
bool PetrolWaitProc(const StatusWatch& watch, std::int64_t startedAtMs, Desktop& desktop,
                    WindowRef window, const DialogEvent& event);

}  // namespace zav
