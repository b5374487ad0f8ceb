#pragma once
// The checks between the choice of a firmware file and the arming of the upload. Each asks
// only when its condition holds, and Cancel, the safe answer, is always the default:
// - no status frame within the last 2 s: upgrade anyway?
// - the file is much shorter than the image (under 80 %): the rest will be zeros;
// - the file is longer than the image: only its first 30,720 bytes will be sent;
// - the controller is not on petrol: switch to petrol (and wait for it) first?
// The questions without side effects come first, so that a Cancel there sends nothing; the
// switch is the last step. When all is in order nothing is asked and nothing is sent.
// Questions take time: right before the upload is armed the status is checked again, and a
// controller that fell silent meanwhile is asked about as at the start.
//
// The questions go through the desktop layer, so any host can answer them: the window's
// message boxes, or a command-line host that answers from its options.

#include <cstdint>
#include <string>

#include "link/link_state.h"
#include "texts/thousands.h"  // WithThousands, used by the questions
#include "upgrade/status_watch.h"

namespace zav {

inline constexpr const char* kUpgradeCaption = "Upgrade";
inline constexpr const char* kSwitchAndUpgradeLabel = "Switch and upgrade";
inline constexpr const char* kUpgradeAnywayLabel = "Upgrade anyway";
inline constexpr const char* kGoOnLabel = "Go on";
// A file under this many bytes (80 % of the image) is asked about.
inline constexpr std::uintmax_t kShortFileBytes = 30720 * 8 / 10;

// True when the upgrade may be armed: every question that came up was answered with its
// go-on button and, where a switch was asked for, the controller reported "Petrol".
bool PassUpgradeChecks(Link& link, const StatusWatch& watch, std::uintmax_t fileBytes);

// The texts, for hosts and tests.
std::string NoControllerQuestion(const std::string& portName, const std::string& device);
std::string NotOnPetrolQuestion(std::uint16_t status);
std::string LongFileQuestion(std::uintmax_t fileBytes);
std::string ShortFileQuestion(std::uintmax_t fileBytes);
std::string NoPetrolText();

// "COM3", or empty when no valid port name is stored.
std::string StoredPortName(const Link& link);

}  // namespace zav
