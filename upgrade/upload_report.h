#pragma once
// The upload in words: its progress while it runs, how it ended, and the warning after an
// upload that was stopped before the end. Nothing here touches the line.

#include <cstdint>
#include <string>

#include "link/link_state.h"
#include "upgrade/upload_state.h"

namespace zav {

inline constexpr const char* kUploadStoppedCaption = "Upgrade stopped";
inline constexpr const char* kUpgradeAgainLabel = "Upgrade again";

// "Upgrade: block 57 of 240 · 2 repeats · 8 s · about 26 s left · live values paused"; the
// time left is estimated from the blocks acknowledged so far, and left out before the first.
std::string UploadProgressText(const UploadState& upload, std::int64_t nowMs);

// "Upgrade finished: 240 blocks in 34.3 s, 3 repeats".
std::string UploadFinishedText(const UploadState& upload);

// "Upgrade stopped at block 57 of 240: the controller may hold an incomplete image".
std::string UploadStoppedLine(const UploadState& upload);

// The warning box's text after a stopped upload.
std::string UploadStoppedWarning(const UploadState& upload);

// What the status line says about the upgrade now; empty before the first upload.
std::string UpgradeStatusText(const UploadState& upload, std::int64_t nowMs);

// Shows the warning once after a stopped upload, with "Upgrade again" beside OK; true when
// that was chosen. Called at the end of a poll tick, so the tick that ran the upload has
// drained the line and resumed polling before the box opens.
bool WarnOfStoppedUpload(Link& link, UploadState& upload);

}  // namespace zav
