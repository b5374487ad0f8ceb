#pragma once
// Caption lists: one text in which every caption ends with '*', applied to a run of
// consecutive control ids.

#include <string_view>

#include "platform/desktop.h"

namespace zav {

// Captions of the main window's controls 1029 to 1068.
inline constexpr std::string_view kMainCaptions =
    "BA_1*BA_2*BA_3*BA_4*BA_V*GAS_1*GAS_2*GAS_3*GAS_4*ms*ms*ms*ms*ms*ms*ms*ms*ms*Manif*Regul.*"
    "Delta p*Temp.*RPM*Battery*Lambda*mBar*mBar*mBar*C*RPM*mV*mV*COM port*Petrol*gas*Pressure**"
    "Status*switch*Name of config*";

// Captions of the parameter rows and groups: main window 1069 to 1084, Parameters dialog
// 2001 to 2016. "Min. delta p " keeps its trailing blank.
inline constexpr std::string_view kParameterCaptions =
    "Petrol time*Min. gas time*Coeficient*Numerator*Y axis*X axis*Delta p delay*Min. delta p *"
    "Preheat*Delay*Max. manifold pressure*Min. manifold pressure*Temperature*"
    "Switch to gas parameters*Back on petrol switch parameters*Formula parameters*";

// Gives controls first..last the captions of `list` in order. A caption is cut at 63
// characters; a list that runs out leaves the remaining controls empty.
void AssignCaptions(Desktop& desktop, WindowRef window, std::string_view list, int first, int last);

}  // namespace zav
