#include "upgrade/upgrade_checks.h"

#include "platform/port_name.h"
#include "upgrade/firmware_layout.h"
#include "upgrade/petrol_wait.h"

namespace zav {

namespace {

bool Ask(Link& link, const std::string& question, const char* goOnLabel) {
  return link.desktop->AskToGoOn(link.mainWindow, question, kUpgradeCaption, goOnLabel,
                                 MessageIcon::Warning);
}

// Whether the fitter has already chosen to go on with a silent controller.
struct CheckAnswers {
  bool silenceAccepted = false;
};

bool AskWhenSilent(Link& link, const StatusWatch& watch, CheckAnswers& answers) {
  if (answers.silenceAccepted || ControllerAnswering(watch, link.desktop->NowMs())) {
    return true;
  }
  const std::string port = StoredPortName(link);
  const std::string device =
      port.empty() || link.device == nullptr ? std::string{} : link.device->DevicePath();
  answers.silenceAccepted = Ask(link, NoControllerQuestion(port, device), kUpgradeAnywayLabel);
  return answers.silenceAccepted;
}

bool AskWhenShort(Link& link, std::uintmax_t fileBytes) {
  return fileBytes >= kShortFileBytes || Ask(link, ShortFileQuestion(fileBytes), kGoOnLabel);
}

bool AskWhenLong(Link& link, std::uintmax_t fileBytes) {
  return fileBytes <= kFirmwareImageBytes || Ask(link, LongFileQuestion(fileBytes), kGoOnLabel);
}

// Only a controller that answers can be asked to switch; one that fell silent while an
// earlier question was open is asked about first.
bool SwitchWhenNotOnPetrol(Link& link, const StatusWatch& watch, CheckAnswers& answers) {
  if (!ControllerAnswering(watch, link.desktop->NowMs())) {
    return AskWhenSilent(link, watch, answers);
  }
  if (watch.lastStatus == kStatusPetrol) {
    return true;
  }
  if (!Ask(link, NotOnPetrolQuestion(*watch.lastStatus), kSwitchAndUpgradeLabel)) {
    return false;
  }
  // Ticks ran behind the question: a controller that reached "Petrol" meanwhile must not be
  // switched again, which would take it back towards gas.
  if (watch.lastStatus == kStatusPetrol) {
    return true;
  }
  const PetrolWait wait = SwitchToPetrol(link, watch);
  if (wait == PetrolWait::kTimedOut) {
    link.desktop->ShowMessage(link.mainWindow, NoPetrolText(), kUpgradeCaption, MessageButtons::Ok,
                              MessageIcon::Warning);
  }
  return wait == PetrolWait::kPetrol;
}

}  // namespace

std::string StoredPortName(const Link& link) {
  return link.portNumber == 0 ? std::string{} : ComPortName(link.portNumber);
}

std::string NoControllerQuestion(const std::string& portName, const std::string& device) {
  const std::string where = portName.empty() ? "the serial port" : portName;
  const std::string on = device.empty() ? where : where + " (" + device + ")";
  return "No controller is answering on " + on + ". Upgrade anyway?";
}

std::string NotOnPetrolQuestion(std::uint16_t status) {
  const std::string state =
      status == kStatusGas ? "The controller runs on gas." : "The controller is not on petrol.";
  return state + " Switch to petrol before the upgrade?";
}

std::string LongFileQuestion(std::uintmax_t fileBytes) {
  return "Only the first " + WithThousands(kFirmwareImageBytes) + " of " +
         WithThousands(fileBytes) + " bytes will be sent. Go on?";
}

std::string ShortFileQuestion(std::uintmax_t fileBytes) {
  return "The file has only " + WithThousands(fileBytes) + " bytes; the controller's image is " +
         WithThousands(kFirmwareImageBytes) + " bytes and the rest will be zeros. Go on?";
}

std::string NoPetrolText() {
  return "The controller did not report \"Petrol\" within " +
         std::to_string(kPetrolWaitLimitMs / 1000) + " s. The upgrade was not started.";
}

// Right before arming: the questions took their time and ticks ran behind them, so what the
// first checks saw may have aged. A controller silent now is asked about (unless the fitter
// already chose to go on without one).
bool RecheckBeforeArming(Link& link, const StatusWatch& watch, CheckAnswers& answers) {
  return AskWhenSilent(link, watch, answers);
}

bool PassUpgradeChecks(Link& link, const StatusWatch& watch, std::uintmax_t fileBytes) {
  CheckAnswers answers;
  return AskWhenSilent(link, watch, answers) && AskWhenShort(link, fileBytes) &&
         AskWhenLong(link, fileBytes) && SwitchWhenNotOnPetrol(link, watch, answers) &&
         RecheckBeforeArming(link, watch, answers);
}

}  // namespace zav
