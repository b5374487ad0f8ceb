#pragma once
// What a message box answers when it is closed without a button (the close box, Escape
// where the box has no Cancel, or a box that closes itself): its safe answer. Every host
// answers so.

#include "platform/desktop.h"

namespace zav {

constexpr MessageAnswer ClosedAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::OkCancel:
      return MessageAnswer::Cancel;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    case MessageButtons::Ok:
      break;
  }
  return MessageAnswer::Ok;
}

}  // namespace zav
