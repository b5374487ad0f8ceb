#pragma once
// Virtual time for the headless host. Nothing moves unless the host moves it: a modal loop
// waiting for its next timer, or a serial read waiting out its time-out.

#include <cstdint>
#include <optional>
#include <vector>

namespace zav::headless {

using Micros = std::int64_t;

inline constexpr Micros kMillisecond = 1000;
inline constexpr Micros kSecond = 1000 * kMillisecond;

// Something that has to follow the clock, such as a serial line with bytes in flight.
class ClockFollower {
 public:
  virtual ~ClockFollower() = default;
  // Lets everything due up to `time` happen, in order.
  virtual void AdvanceTo(Micros time) = 0;
  // The next moment at which something becomes visible to the program, if any.
  virtual std::optional<Micros> NextEvent() const = 0;
};

class VirtualClock {
 public:
  Micros Now() const { return now_; }

  // Moves time forward (never back) and lets every follower catch up.
  void AdvanceTo(Micros time) {
    if (time < now_) {
      time = now_;
    }
    for (ClockFollower* follower : followers_) {
      follower->AdvanceTo(time);
    }
    now_ = time;
  }

  void Follow(ClockFollower& follower) { followers_.push_back(&follower); }
  void Unfollow(ClockFollower& follower) { std::erase(followers_, &follower); }

  std::optional<Micros> NextFollowerEvent() const {
    std::optional<Micros> next;
    for (const ClockFollower* follower : followers_) {
      const std::optional<Micros> event = follower->NextEvent();
      if (event && (!next || *event < *next)) {
        next = event;
      }
    }
    return next;
  }

 private:
  Micros now_ = 0;
  std::vector<ClockFollower*> followers_;
};

}  // namespace zav::headless
