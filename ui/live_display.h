#pragma once
// What the main window shows of the controller: live values with their bars, the operating
// state, and the thirteen parameter registers.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/connection.h"
#include "link/link_state.h"
#include "texts/live_text.h"

namespace zav {

inline constexpr int kStatusEdit = 1027;
inline constexpr int kFirstParameterEdit = 1085;  // register 80; 1097 shows register 92

void SetupBars(Desktop& desktop, WindowRef window);
void ShowLiveValues(const LiveValueTable& live, Desktop& desktop, WindowRef window);
// What the value edits and the Status box show while nothing is read (no port, the port
// busy or not opened, open but nothing taken yet, no answer for 2 s and more, or the adapter
// removed): not the last answer or zeros, which would look live, but a dash; the bars stand
// empty. The next status frame and refresh fill them again.
inline constexpr const char* kStaleText = "\u2014";
void ShowStaleValues(Desktop& desktop, WindowRef window);
bool LiveValuesStale(const Connection& connection);

void ShowParameterValues(const RegisterImage& image, Desktop& desktop, WindowRef window);
void ShowStatusText(std::uint16_t status, Desktop& desktop, WindowRef window);

}  // namespace zav
