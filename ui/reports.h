#pragma once
// The error and version reports: a block read of the controller's registers, then what
// they mean in a message box.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/link_state.h"

namespace zav {

// The captions of the report boxes: a word followed by 36 spaces.
inline constexpr std::string_view kErrorsCaption = "Errors                                    ";
inline constexpr std::string_view kInfoCaption = "Info                                    ";
static_assert(kErrorsCaption.size() == 42 && kInfoCaption.size() == 40);

inline constexpr const char* kNoErrorsText = "No errors";

// One line per error flag that is set, each ending in a line feed, or "No errors".
std::string ErrorReportText(std::uint16_t flags);
// Hardware and firmware version and serial number from registers 95 to 101. A character
// 0x00 ends the text where it stands.
std::string VersionReportText(const RegisterImage& image);

// "Show errors": reads register 102 and lists the flags; once the box is closed, the next
// poll tick sends the 'C' frame, which clears the flags. Cancel shows and sends nothing.
void ErrorReport(Link& link);
// "ZAV version": reads registers 95 to 102 and shows versions and serial number.
void VersionReport(Link& link);

}  // namespace zav
