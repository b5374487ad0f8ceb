#pragma once
// The modal message box: text, caption, buttons and icon; it belongs to its owner window.
// The timers of every open dialog keep running behind it.

#include <functional>
#include <string_view>

#include "platform/desktop.h"

class QWidget;

namespace zav::qt {

// Closing the box by its close box (or Escape) answers Cancel to OK/Cancel, No to Yes/No
// and OK to OK alone.
MessageAnswer RunMessageBox(QWidget* owner, std::string_view text, std::string_view caption,
                            MessageButtons buttons, MessageIcon icon);
// The same box, closed as by its close box once `over` holds; asked every kOverCheckMs.
inline constexpr int kOverCheckMs = 50;
MessageAnswer RunMessageBoxUntil(QWidget* owner, std::string_view text, std::string_view caption,
                                 MessageButtons buttons, MessageIcon icon,
                                 const std::function<bool()>& over);

// OK (the default, also Escape and the close box) and an action button beside it; true when
// the action was chosen.
bool RunNoticeWithAction(QWidget* owner, std::string_view text, std::string_view caption,
                         std::string_view actionLabel, MessageIcon icon);

// A question with a named go-on button and Cancel; Cancel is the default and the answer of
// Escape and the close box. True when the go-on button was chosen.
bool RunGoOnQuestion(QWidget* owner, std::string_view text, std::string_view caption,
                     std::string_view goOnLabel, MessageIcon icon);

}  // namespace zav::qt
