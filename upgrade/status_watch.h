#pragma once
// What the controller last reported about its operating state, and when. The poll tick
// notes every status frame here; the checks before an upgrade read it.

#include <cstdint>
#include <optional>

namespace zav {

// A controller that sent no status frame for longer than this is taken as not answering.
inline constexpr std::int64_t kAnsweringWithinMs = 2000;

struct StatusWatch {
  std::optional<std::uint16_t> lastStatus;  // none before the first status frame
  std::int64_t lastStatusAtMs = 0;          // desktop clock (ms)
  // When the poll tick last ran (desktop clock, ms); none where the ticks are not noted.
  std::optional<std::int64_t> lastTickAtMs;
};

inline void NoteStatusFrame(StatusWatch& watch, std::uint16_t status, std::int64_t nowMs) {
  watch.lastStatus = status;
  watch.lastStatusAtMs = nowMs;
}

inline void NotePollTick(StatusWatch& watch, std::int64_t nowMs) {
  watch.lastTickAtMs = nowMs;
}

// Silence counts only while the poll ran: a time in which no tick ran (a file dialog that
// held the program on its way out, a busy machine) says nothing about the controller, and
// the next tick would take its answer.
inline bool ControllerAnswering(const StatusWatch& watch, std::int64_t nowMs) {
  const std::int64_t polledUntilMs = watch.lastTickAtMs.value_or(nowMs);
  return watch.lastStatus.has_value() && polledUntilMs - watch.lastStatusAtMs <= kAnsweringWithinMs;
}

}  // namespace zav
