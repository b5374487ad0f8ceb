#pragma once
// The 150 ms heartbeat of the main window: store what arrived, move a block transfer on or
// ask for the live values, start a pending upload or parameter write, refresh the display.

#include "link/link_state.h"

namespace zav {

inline constexpr int kPollTimerId = 1;
inline constexpr int kPollPeriodMs = 150;
inline constexpr std::uint8_t kSilentTicksBeforeClearing = 7;

// One tick. It may open the transfer dialog (a parameter write) or the upload dialog and
// then returns only after that dialog has ended; ticks keep running nested inside it.
void PollTick(Link& link);

// Asks for a parameter write: it starts once the controller reports "Petrol".
inline void RequestParameterWrite(Link& link) {
  link.cycle.sendRequest = SendRequest::AwaitPetrol;
}

// The upgrade step: the 'U' frame, the upload dialog, then the line back to frames.
void StartUpload(Link& link);

}  // namespace zav
