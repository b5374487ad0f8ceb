#pragma once
// What the main window shows of the controller: live values with their bars, the operating
// state, and the thirteen parameter registers.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/link_state.h"
#include "texts/live_text.h"

namespace zav {

inline constexpr int kStatusEdit = 1027;
inline constexpr int kFirstParameterEdit = 1085;  // register 80; 1097 shows register 92

void SetupBars(Desktop& desktop, WindowRef window);
void ShowLiveValues(const LiveValueTable& live, Desktop& desktop, WindowRef window);
void ShowParameterValues(const RegisterImage& image, Desktop& desktop, WindowRef window);
void ShowStatusText(std::uint16_t status, Desktop& desktop, WindowRef window);

}  // namespace zav
