#pragma once
// How the widgets of a dialog hand what happened to the dialog's procedure.

#include <functional>

#include "platform/desktop.h"

namespace zav::qt {

using DeliverEvent = std::function<void(const DialogEvent& event)>;

inline DialogEvent CommandEvent(int commandId, int code = 0) {
  return {DialogMessage::Command, commandId, code};
}

}  // namespace zav::qt
