#pragma once
// The user of the headless host: answers to message boxes and file dialogs given in
// advance, and actions (button presses, closes, commands) at given virtual times.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "hosts/headless/virtual_clock.h"
#include "platform/desktop.h"

namespace zav::headless {

// A test asked something of the host that its script does not cover, or a modal loop had
// nothing left to wait for. Thrown out of the loop so the test fails instead of hanging.
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct ScriptedAnswer {
  MessageAnswer answer = MessageAnswer::Ok;
  Micros after = 0;  // how long the box stays open (us); ticks run behind it meanwhile
};

struct ScriptedFileAnswer {
  std::optional<std::string> path;  // nothing: the user cancels
  Micros after = 0;
};

struct ScriptedAction {
  Micros at = 0;
  std::uint64_t order = 0;
  std::function<void()> action;
};

struct ScriptedUser {
  std::deque<ScriptedAnswer> messageAnswers;
  std::deque<ScriptedFileAnswer> fileAnswers;
  std::deque<ScriptedAction> actions;  // kept sorted by time, then order
  std::uint64_t nextOrder = 0;
};

}  // namespace zav::headless
