#pragma once
// The "Parameters" dialog (template 2000): the thirteen editable parameters, the formula
// chart with its two trackbars, and "Ok", which stores the edits and offers to send them.
// It ends through its close box or Escape, with 0, keeping nothing that "Ok" did not store;
// Enter does nothing. When the edits or the trackbars differ from the registers the dialog
// opened with (typed, moved, or placed by "Apply to Parameters…"), Escape first asks
// "Discard the changes?", with Cancel the default.

#include "link/link_state.h"
#include "params/parameter_formula.h"
#include "params/parameter_state.h"

namespace zav {

inline constexpr const char* kWrongFillingText = "Wrong filling of parameters";
inline constexpr const char* kWrongFillingCaption = "Error";
inline constexpr const char* kDiscardChangesText = "Discard the changes?";
inline constexpr const char* kDiscardChangesCaption = "Parameters";

// Runs the dialog modally, owned by the main window; returns its result (always 0).
int RunParametersDialog(Link& link, const ParameterState& state);

// The same, with the trackbars moved to `positions` once it has opened, as if the user had
// moved them there: the formula fills "Y axis" and "Numerator". Nothing is stored or sent
// until "Ok" and the question, as always.
int RunParametersDialogPlaced(Link& link, const ParameterState& state, TrackbarPositions positions);

// Handles Init, Paint, VerticalScroll, Command and Close; every other event is left to the
// host (false).
bool ParametersProc(Link& link, const ParameterState& state, Desktop& desktop, WindowRef window,
                    const DialogEvent& event);

// Registers 80 to 92 into their edits, as unsigned decimals.
void FillParameterEdits(const RegisterImage& image, Desktop& desktop, WindowRef window);

// Stores the edits into registers 80 to 92 in register order, each at once. At the first
// edit that is not a number up to 65535 the error is shown and false returned: registers
// before it keep their new values, it and those after it their old ones.
bool ReadParameterEdits(RegisterImage& image, Desktop& desktop, WindowRef window);

// A trackbar notification: the chart afresh, then the formula into the "Y axis" and
// "Numerator" edits (and "X axis" while register 87 is 0).
void ApplyFormula(const RegisterImage& image, Desktop& desktop, WindowRef window);

}  // namespace zav
