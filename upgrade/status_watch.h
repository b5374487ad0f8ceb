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
};

inline void NoteStatusFrame(StatusWatch& watch, std::uint16_t status, std::int64_t nowMs) {
  watch.lastStatus = status;
  watch.lastStatusAtMs = nowMs;
}

inline bool ControllerAnswering(const StatusWatch& watch, std::int64_t nowMs) {
  return watch.lastStatus.has_value() && nowMs - watch.lastStatusAtMs <= kAnsweringWithinMs;
}

}  // namespace zav
