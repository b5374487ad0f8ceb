#pragma once
// The question that ends every way of changing the parameters ("Ok" in the Parameters
// dialog, "Open"): OK lets the poll cycle write registers 80 to 92 once the controller
// reports "Petrol".

#include "link/link_state.h"
#include "params/parameter_state.h"

namespace zav {

inline constexpr const char* kSendDataQuestion = "Send data to ZAV ?";
inline constexpr const char* kQuestionBoxCaption = "question";
inline constexpr const char* kNeverReadQuestion =
    "The parameters were never read from the controller: write them anyway?";
inline constexpr const char* kWriteAnywayLabel = "Write anyway";

// Asks with OK and Cancel and the information icon; OK requests the write. When the image's
// parameters have no source in this run (never read, loaded or set to defaults), OK is
// followed by kNeverReadQuestion, Cancel its default, before anything is requested.
void OfferParameterWrite(Link& link, const ParameterState& state, WindowRef owner);

}  // namespace zav
