#pragma once
// Template 2000: the "Parameters" dialog with the thirteen parameter edits, their captions
// and units, the "Ok" button and the two trackbars of the formula chart.

#include "resources/dialog_template.h"

namespace zav {

inline constexpr int kParametersTemplateId = 2000;
inline constexpr int kFirstParametersCaption = 2001;  // caption statics and group boxes
inline constexpr int kLastParametersCaption = 2016;
inline constexpr int kParametersOkButton = 2029;
inline constexpr int kXAxisEdit = 2034;
inline constexpr int kYAxisEdit = 2035;
inline constexpr int kNumeratorEdit = 2036;
inline constexpr int kLeftTrackbar = 2044;
inline constexpr int kRightTrackbar = 2045;

const DialogTemplate& ParametersTemplate();

}  // namespace zav
