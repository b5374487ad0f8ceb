#pragma once
// A controller that stops answering during an upload: the upload keeps waiting as it always
// has (no time-out, no retry limit), but after 10 s without an ACK or NAK its dialog and the
// main window's status line say for how long, so the fitter knows why nothing moves and
// that Cancel is the way out.

#include <cstdint>
#include <optional>
#include <string>

#include "link/link_state.h"
#include "upgrade/upload_state.h"

namespace zav {

inline constexpr std::uint32_t kSilentUploadMs = 10000;

// "No answer from the controller for 12 s".
std::string SilentReceiverText(std::uint32_t seconds);

// One upload tick (`periodMs` long) with the byte it took from the controller, if any.
void FollowUploadAnswers(Link& link, UploadState& upload, WindowRef dialog, int periodMs,
                         std::optional<std::uint8_t> byte);
// The upload has begun or ended: nothing is silent any more.
void ClearUploadSilence(Link& link, UploadState& upload);

}  // namespace zav
