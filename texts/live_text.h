#pragma once
// How a live value reads on screen, as text: shared by the main window and everything that
// shows or records what the window shows (logs, charts), so they can never disagree.

#include <cstdint>
#include <string>
#include <string_view>

namespace zav {

// An injection time in units of 0.5 us as milliseconds with two decimals and a point
// (never a comma, whatever the user's regional settings).
std::string InjectionTimeText(std::uint16_t value);
std::string_view StatusText(std::uint16_t status);

}  // namespace zav
