#pragma once
// The question that ends every way of changing the parameters ("Ok" in the Parameters
// dialog, "Open"): OK lets the poll cycle write registers 80 to 92 once the controller
// reports "Petrol".

#include "link/link_state.h"

namespace zav {

inline constexpr const char* kSendDataQuestion = "Send data to ZAV ?";
inline constexpr const char* kQuestionBoxCaption = "question";

// Asks with OK and Cancel and the information icon; OK requests the write.
void OfferParameterWrite(Link& link, WindowRef owner);

}  // namespace zav
