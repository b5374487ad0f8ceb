#pragma once
// The "Upgrade" command: the user picks a firmware file, its image is read, and the upload
// is armed for the next poll tick. Nothing is sent here.

#include <functional>
#include <string>

#include "link/link_state.h"
#include "upgrade/firmware_image.h"
#include "upgrade/upload_state.h"

namespace zav {

inline constexpr const char* kFirmwareFilterCaption = "ZAV upgrade files (*.zav)";
inline constexpr const char* kFirmwareFilterPattern = "*.zav";

// A chosen file that can be used arms the upload: CurrentCommand 'U', upgradeArmed Armed. A
// cancelled choice disarms and leaves CurrentCommand alone. A file that cannot be used is
// reported in an error box and arms nothing, as if the choice had been cancelled.
//
// `mayArm`, when given, is asked between a usable choice and the arming (the program's
// checks); false arms nothing, as if the choice had been cancelled.
using ArmingCheck = std::function<bool(const FirmwareImage& firmware)>;
void UpgradeCommand(Link& link, UploadState& upload, const ArmingCheck& mayArm = {});

// The text of the error box about a firmware file that cannot be used.
std::string FirmwareProblemText(const std::string& path, const std::string& problem);

}  // namespace zav
