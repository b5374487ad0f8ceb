#pragma once
// Dialog templates for the Qt tests: one that holds a control of every kind (and the main
// menu), a plain one with a few controls for keys, timers and drawing, and a resizable one.

#include "resources/dialog_template.h"

namespace zav::test {

// Control ids of the every-kind template.
inline constexpr int kValueEditId = 101;
inline constexpr int kStatusEditId = 102;
inline constexpr int kNameEditId = 103;
inline constexpr int kInputEditId = 104;
inline constexpr int kProgressBarId = 105;
inline constexpr int kLabelId = 106;
inline constexpr int kUnitLabelId = 107;
inline constexpr int kFieldLabelId = 108;
inline constexpr int kGroupBoxId = 109;
inline constexpr int kDropDownListId = 110;
inline constexpr int kPushButtonId = 111;
inline constexpr int kToolbarId = 112;
inline constexpr int kVerticalSliderId = 113;
inline constexpr int kLongCaptionId = 114;  // a label too small for its caption

inline constexpr const char* kLongCaption = "Back on petrol switch parameters";

const DialogTemplate& EveryKindTemplate();

// Ids of the plain template.
inline constexpr int kPlainInputId = 201;
inline constexpr int kPlainButtonId = 202;
inline constexpr int kPlainSliderId = 203;

const DialogTemplate& PlainTemplate();
const DialogTemplate& ResizableTemplate();

}  // namespace zav::test
