#pragma once
// The upload dialog: the "Communicate with AZV" dialog run by its own 20 ms timer. Each tick
// shows the block number on the bar and handles at most one byte from the controller; the
// poll ticks that run nested meanwhile leave the line alone while the upload is armed.

#include "link/link_state.h"
#include "upgrade/upload_state.h"

namespace zav {

inline constexpr int kUploadTimerId = 1;
inline constexpr int kUploadTickMs = 20;

// Asked before a Cancel stops a running upload when the state says so (confirmStop); the
// safe answer, the default, lets the upload go on.
inline constexpr const char* kStopUpgradeQuestion =
    "Stop the upgrade? The controller will hold an incomplete image.";
inline constexpr const char* kStopUpgradeCaption = "Upgrade";
inline constexpr const char* kStopUpgradeLabel = "Stop";

// Runs the dialog modally, owned by the main window, until the EOT was acknowledged (result
// 1) or the user pressed "Cancel" or closed it (result 0; after kStopUpgradeQuestion when
// `upload.confirmStop`). Neither ending sends anything
// more or shows a message; the image is let go on both.
void RunUploadDialog(Link& link, UploadState& upload);

// The dialog's procedure, for hosts and tests that run it themselves.
bool UploadProc(Link& link, UploadState& upload, Desktop& desktop, WindowRef window,
                const DialogEvent& event);

}  // namespace zav
