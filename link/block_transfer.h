#pragma once
// Block transfers: a run of registers moved one at a time by the poll ticks while the modal
// "Communicate with AZV" dialog shows progress and offers Cancel.

#include <cstdint>

#include "link/link_state.h"

namespace zav {

inline constexpr int kTransferTimerId = 1;
inline constexpr int kTransferWatchPeriodMs = 200;

// Starts at `firstRegister` under `letter` and runs the transfer dialog until the transfer
// has passed register 102 (or 92 for a write): 1, or until the user cancelled: 0.
int RunBlockTransfer(Link& link, std::uint8_t firstRegister, std::uint8_t letter);

// The transfer dialog's procedure: it only watches TransferCursor.
bool TransferDialogProc(Link& link, Desktop& desktop, WindowRef window, const DialogEvent& event);

}  // namespace zav
