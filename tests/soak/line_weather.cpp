#include "tests/soak/line_weather.h"

#include <algorithm>
#include <cstdio>

namespace zav::testing {

namespace {

using headless::kMillisecond;
using headless::kSecond;
using headless::Micros;

constexpr Micros kShortestSpell = 60 * kSecond;
constexpr Micros kLongestSpell = 20 * 60 * kSecond;
constexpr double kCalmShare = 0.4;
constexpr double kByteFaultRate = 0.01;  // highest share of bytes lost, damaged or doubled
constexpr double kStrayRate = 0.02;      // highest share of frames led by stray bytes
// The answer to a live poll fills 125 of the tick's 150 ms on the line. A split adds 100 to
// 300 ms, so splits beyond about one frame in 200 would keep the controller behind the
// polls for ever, answers piling up for minutes: no line does that and stays in service.
constexpr double kSplitRate = 0.004;
constexpr std::uint32_t kLongestSilenceMs = 10000;
// A silence loses the answers meanwhile; the line spends at least ten times as long awake.
constexpr std::uint32_t kAwakeShare = 10;

// Off, or a rate up to `highest`, with even odds.
double MaybeRate(sim::Random& random, double highest) {
  return sim::Chance(random, 0.5) ? sim::NextUnit(random) * highest : 0.0;
}

}  // namespace

std::string DescribeSpell(const WeatherSpell& spell) {
  const sim::FaultOptions& f = spell.faults;
  char text[256];
  std::snprintf(text, sizeof text,
                "%s from %lld s to %lld s: drop %.4f corrupt %.4f duplicate %.4f split %.3f "
                "stray %.3f drop-input %.4f silence %u ms every %u ms",
                spell.calm ? "calm" : "noisy", static_cast<long long>(spell.from / kSecond),
                static_cast<long long>(spell.to / kSecond), f.dropRate, f.corruptRate,
                f.duplicateRate, f.splitRate, f.strayRate, f.dropInputRate, f.silenceForMs,
                f.silenceEveryMs);
  return text;
}

LineWeather::LineWeather(SoakDesktop& desktop, sim::Controller& controller, std::uint32_t seed)
    : desktop_(desktop), controller_(controller), random_{std::uint64_t{seed} * 0x2545F491ULL} {
  sim::NextBits(random_);
}

void LineWeather::Start(Micros end) {
  NextSpell(end);
}

void LineWeather::CalmNow() {
  if (Calm()) {
    return;
  }
  WeatherSpell calm;
  calm.from = desktop_.Now();
  calm.to = spells_.back().to;
  spells_.back().to = calm.from;
  controller_.SetFaults(calm.faults);
  spells_.push_back(calm);
}

const WeatherSpell* LineWeather::SpellAt(Micros time) const {
  for (const WeatherSpell& spell : spells_) {
    if (spell.from <= time && time < spell.to) {
      return &spell;
    }
  }
  return nullptr;
}

sim::FaultOptions LineWeather::DrawFaults() {
  sim::FaultOptions faults;
  faults.dropRate = MaybeRate(random_, kByteFaultRate);
  faults.corruptRate = MaybeRate(random_, kByteFaultRate);
  faults.duplicateRate = MaybeRate(random_, kByteFaultRate);
  faults.splitRate = MaybeRate(random_, kSplitRate);
  faults.strayRate = MaybeRate(random_, kStrayRate);
  faults.dropInputRate = MaybeRate(random_, kByteFaultRate);
  if (sim::Chance(random_, 0.5)) {
    faults.silenceForMs =
        static_cast<std::uint32_t>(sim::NextInRange(random_, 500, kLongestSilenceMs));
    faults.silenceEveryMs = static_cast<std::uint32_t>(
        sim::NextInRange(random_, kAwakeShare * faults.silenceForMs, 300000));
  }
  return faults;
}

void LineWeather::NextSpell(Micros end) {
  const Micros now = desktop_.Now();
  WeatherSpell spell;
  spell.from = now;
  spell.to = std::min(end, now + sim::NextInRange(random_, kShortestSpell, kLongestSpell));
  spell.calm = now + kMillisecond >= end || sim::Chance(random_, kCalmShare);
  if (!spell.calm) {
    spell.faults = DrawFaults();
  }
  controller_.SetFaults(spell.faults);
  spells_.push_back(spell);
  if (spell.to < end) {
    desktop_.At(spell.to, [this, end] { NextSpell(end); });
  } else {
    desktop_.At(end, [this] {
      controller_.SetFaults({});
      spells_.back().calm = true;
    });
  }
}

}  // namespace zav::testing
