#include "params/parameters_dialog.h"

#include <string>

#include "params/edit_number.h"
#include "params/formula_chart.h"
#include "params/gas_ratio_line.h"
#include "params/parameter_formula.h"
#include "params/parameter_set.h"
#include "params/send_question.h"
#include "resources/parameters_template.h"
#include "texts/captions.h"

namespace zav {

namespace {

TrackbarPositions ReadTrackbars(Desktop& desktop, WindowRef window) {
  return {desktop.GetSliderPosition(window, kLeftTrackbar),
          desktop.GetSliderPosition(window, kRightTrackbar)};
}

void InitParametersDialog(const RegisterImage& image, Desktop& desktop, WindowRef window) {
  desktop.SetSliderRange(window, kLeftTrackbar, 0, kLeftTrackbarLast);
  desktop.SetSliderRange(window, kRightTrackbar, 0, kRightTrackbarLast);
  AssignCaptions(desktop, window, kParameterCaptions, kFirstParametersCaption,
                 kLastParametersCaption);
  FillParameterEdits(image, desktop, window);
  const TrackbarPositions opening =
      OpeningPositions(RegisterValue(image, kXAxisRegister), RegisterValue(image, kYAxisRegister),
                       RegisterValue(image, kNumeratorRegister));
  desktop.SetSliderPosition(window, kLeftTrackbar, opening.left);
  desktop.SetSliderPosition(window, kRightTrackbar, opening.right);
}

void PaintChart(Desktop& desktop, WindowRef window) {
  const GasLine line = RepaintGasLine(ReadTrackbars(desktop, window));
  Canvas& canvas = desktop.CanvasOf(window);
  DrawChartFrame(canvas);
  DrawGasLine(canvas, line);
}

// "Ok": the edits into the registers, then the question. The dialog stays open.
void ConfirmParameters(Link& link, const ParameterState& state, Desktop& desktop,
                       WindowRef window) {
  if (ReadParameterEdits(link.image, desktop, window)) {
    OfferParameterWrite(link, state, window);
  }
}

// Whether the edits or the trackbars show anything but the registers they opened with: typed
// text, or trackbars moved (or placed for the dialog) and the formula's values with them.
bool DiffersFromRegisters(const RegisterImage& image, Desktop& desktop, WindowRef window) {
  for (std::size_t i = 0; i < kParameterEdits.size(); ++i) {
    if (desktop.GetText(window, kParameterEdits[i]) != std::to_string(image.values[i])) {
      return true;
    }
  }
  const TrackbarPositions opening =
      OpeningPositions(RegisterValue(image, kXAxisRegister), RegisterValue(image, kYAxisRegister),
                       RegisterValue(image, kNumeratorRegister));
  return ReadTrackbars(desktop, window) != opening;
}

// Escape leaves as the close box does, keeping nothing; when that would throw away what the
// user typed or placed, only once the user says so (Cancel, the default, keeps it all).
void EscapeParameters(const RegisterImage& image, Desktop& desktop, WindowRef window) {
  if (DiffersFromRegisters(image, desktop, window) &&
      !desktop.AskToGoOn(window, kDiscardChangesText, kDiscardChangesCaption, "Discard",
                         MessageIcon::Warning)) {
    return;
  }
  desktop.EndDialog(window, 0);
}

// What a trackbar notification writes into the edits.
void WriteFormulaEdits(const FormulaResult& result, Desktop& desktop, WindowRef window) {
  if (result.xAxisStandIn) {
    desktop.SetText(window, kXAxisEdit, std::to_string(kXAxisStandIn));
  }
  desktop.SetText(window, kYAxisEdit, std::to_string(result.yAxis));
  desktop.SetText(window, kNumeratorEdit, std::to_string(result.numerator));
}

}  // namespace

int RunParametersDialogPlaced(Link& link, const ParameterState& state,
                              TrackbarPositions positions) {
  return link.desktop->RunDialog(
      ParametersTemplate(), link.mainWindow,
      [&link, &state, positions](Desktop& desktop, WindowRef window, const DialogEvent& event) {
        const bool handled = ParametersProc(link, state, desktop, window, event);
        if (event.message == DialogMessage::Init) {
          // The first repaint draws the GAS line from the positions placed here.
          desktop.SetSliderPosition(window, kLeftTrackbar, positions.left);
          desktop.SetSliderPosition(window, kRightTrackbar, positions.right);
          WriteFormulaEdits(ApplyFormulaTo(RegisterValue(link.image, kXAxisRegister), positions),
                            desktop, window);
        }
        return handled;
      });
}

int RunParametersDialog(Link& link, const ParameterState& state) {
  return link.desktop->RunDialog(
      ParametersTemplate(), link.mainWindow,
      [&link, &state](Desktop& desktop, WindowRef window, const DialogEvent& event) {
        return ParametersProc(link, state, desktop, window, event);
      });
}

bool ParametersProc(Link& link, const ParameterState& state, Desktop& desktop, WindowRef window,
                    const DialogEvent& event) {
  switch (event.message) {
    case DialogMessage::Init:
      InitParametersDialog(link.image, desktop, window);
      return true;
    case DialogMessage::Paint:
      PaintChart(desktop, window);
      return true;
    case DialogMessage::VerticalScroll:
      ApplyFormula(link.image, desktop, window);
      return true;
    case DialogMessage::Command:
      // "Ok" stores and sends; Enter (1) does nothing. The template has no Cancel, so
      // Escape (2) leaves as the close box does, asking first when there are changes.
      if (event.id == kParametersOkButton) {
        ConfirmParameters(link, state, desktop, window);
      } else if (event.id == kCommandEscape) {
        EscapeParameters(link.image, desktop, window);
      }
      return true;
    case DialogMessage::Close:
      desktop.EndDialog(window, 0);
      return true;
    default:
      return false;
  }
}

void FillParameterEdits(const RegisterImage& image, Desktop& desktop, WindowRef window) {
  for (std::size_t i = 0; i < kParameterEdits.size(); ++i) {
    desktop.SetText(window, kParameterEdits[i], std::to_string(image.values[i]));
  }
}

bool ReadParameterEdits(RegisterImage& image, Desktop& desktop, WindowRef window) {
  for (std::size_t i = 0; i < kParameterEdits.size(); ++i) {
    const std::optional<std::uint16_t> value =
        ReadParameterText(desktop.GetText(window, kParameterEdits[i]));
    if (!value) {
      desktop.ShowMessage(window, kWrongFillingText, kWrongFillingCaption, MessageButtons::Ok,
                          MessageIcon::Error);
      return false;
    }
    image.values[i] = *value;
  }
  return true;
}

void ApplyFormula(const RegisterImage& image, Desktop& desktop, WindowRef window) {
  // Read everything first: a canvas lasts only until the next call into the desktop.
  const FormulaResult result =
      ApplyFormulaTo(RegisterValue(image, kXAxisRegister), ReadTrackbars(desktop, window));
  Canvas& canvas = desktop.CanvasOf(window);
  DrawChartFrame(canvas);
  DrawGasLine(canvas, result.line);
  WriteFormulaEdits(result, desktop, window);
}

}  // namespace zav
