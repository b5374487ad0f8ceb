#include "upgrade/upgrade_command.h"

#include <optional>
#include <utility>

#include "link/serial_port.h"
#include "platform/files/path_text.h"
#include "upgrade/firmware_image.h"

namespace zav {

namespace {

std::optional<std::string> ChooseFirmwareFile(Link& link) {
  FileDialogOptions options;
  options.filterCaption = kFirmwareFilterCaption;
  options.filterPattern = kFirmwareFilterPattern;
  options.pathMustExist = true;
  options.fileMustExist = true;
  return link.desktop->ChooseFileToOpen(link.mainWindow, options);
}

void Disarm(Link& link, UploadState& upload) {
  link.cycle.upgradeArmed = UpgradeArming::Disarmed;
  upload.image = {};
}

}  // namespace

std::string FirmwareProblemText(const std::string& path, const std::string& problem) {
  return "Cannot upgrade from \"" + path + "\": " + problem + ".";
}

void UpgradeCommand(Link& link, UploadState& upload, const ArmingCheck& mayArm) {
  const std::optional<std::string> path = ChooseFirmwareFile(link);
  if (!path) {
    Disarm(link, upload);
    return;
  }
  FirmwareImage firmware = ReadFirmwareImage(PathFromUtf8(*path));
  if (!firmware.problem.empty()) {
    // Disarmed before the box opens: ticks run behind it and must not start an upload.
    Disarm(link, upload);
    link.desktop->ShowMessage(link.mainWindow, FirmwareProblemText(*path, firmware.problem),
                              kErrorCaption, MessageButtons::Ok, MessageIcon::Error);
    return;
  }
  if (mayArm && !mayArm(firmware)) {
    Disarm(link, upload);
    return;
  }
  upload.image = std::move(firmware.bytes);
  CurrentCommand(link) = kLetterUpgrade;
  link.cycle.upgradeArmed = UpgradeArming::Armed;
}

}  // namespace zav
