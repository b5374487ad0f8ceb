#pragma once
// The line's weather over a soak: spells of 1 to 20 minutes, each calm or noisy. A noisy
// spell switches each kind of fault on or off at random, with a random rate: lost, damaged
// and doubled bytes, split frames, stray bytes, bytes from the tool lost, and silences of up
// to 10 s. Every spell is kept, so a failure can be put in its weather.

#include <cstdint>
#include <string>
#include <vector>

#include "hosts/headless/virtual_clock.h"
#include "sim/controller.h"
#include "sim/random.h"
#include "tests/soak/soak_desktop.h"

namespace zav::testing {

struct WeatherSpell {
  headless::Micros from = 0;
  headless::Micros to = 0;
  sim::FaultOptions faults;
  bool calm = true;
};

// One line per spell: when, and which faults at what rates.
std::string DescribeSpell(const WeatherSpell& spell);

class LineWeather {
 public:
  LineWeather(SoakDesktop& desktop, sim::Controller& controller, std::uint32_t seed);

  // Plays spells from now until `end`, when the line calms for good.
  void Start(headless::Micros end);
  bool Calm() const { return spells_.empty() || spells_.back().calm; }
  // Ends a noisy spell now: the line stays calm until the next spell was due.
  void CalmNow();
  const std::vector<WeatherSpell>& Spells() const { return spells_; }
  const WeatherSpell* SpellAt(headless::Micros time) const;

 private:
  void NextSpell(headless::Micros end);
  sim::FaultOptions DrawFaults();

  SoakDesktop& desktop_;
  sim::Controller& controller_;
  sim::Random random_;
  std::vector<WeatherSpell> spells_;
};

}  // namespace zav::testing
