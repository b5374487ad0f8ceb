#include "tests/soak/soak_report.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace zav::testing {

namespace {

long EnvironmentNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

void Print(const SoakResult& result, double wallSeconds) {
  const SoakTally& t = result.tally;
  std::printf(
      "soak seed %u: %.1f virtual h in %.1f s; reads %d (read-backs %d), writes %d, uploads %d, "
      "transfers given up %zu, reports asked %d, Parameters dialogs %d, switches %d\n",
      result.seed, static_cast<double>(result.reached) / static_cast<double>(kHour), wallSeconds,
      t.readsDone, t.readBacksDone, t.writesDone, t.uploadsDone, result.givenUp.size(),
      t.reportsAsked, t.parameterDialogs, t.switches);
  const double perMillion = result.framesJudged == 0
                                ? 0.0
                                : 1e6 * static_cast<double>(result.falseFrames.size()) /
                                      static_cast<double>(result.framesJudged);
  std::printf(
      "  frames taken %llu, judged %llu, damaged yet passing the sum %zu (%.2f per million "
      "judged), taken into the parameter image %zu\n",
      static_cast<unsigned long long>(result.framesTaken),
      static_cast<unsigned long long>(result.framesJudged), result.falseFrames.size(), perMillion,
      result.falseAccepts.size());
  for (const FalseFrame& frame : result.falseFrames) {
    std::string bytes;
    for (const std::uint8_t byte : frame.before) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", byte);
      bytes += hex;
    }
    std::printf("  false frame at %.3f s: address %u value %u, the bytes up to it:%s\n",
                static_cast<double>(frame.at) / static_cast<double>(kSecond), frame.address,
                frame.value, bytes.c_str());
  }
  for (const std::string& given : result.givenUp) {
    std::printf("  %s\n", given.c_str());
  }
  for (const std::string& spoiled : result.falsePasses) {
    std::printf("  spoiled: %s\n", spoiled.c_str());
  }
  std::fflush(stdout);
}

}  // namespace

void RunSoaksFromEnvironment(Micros defaultDuration) {
  const auto first = static_cast<std::uint32_t>(EnvironmentNumber("ZAV_SOAK_SEED", 1));
  const long seeds = EnvironmentNumber("ZAV_SOAK_SEEDS", 1);
  const long minutes = EnvironmentNumber("ZAV_SOAK_MINUTES", defaultDuration / (60 * kSecond));
  for (long i = 0; i < seeds; ++i) {
    SoakOptions options;
    options.seed = first + static_cast<std::uint32_t>(i);
    options.duration = minutes * 60 * kSecond;
    const auto started = std::chrono::steady_clock::now();
    const SoakResult result = SoakProgram(options).Run();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started;
    Print(result, wall.count());
    for (const std::string& failure : result.failures) {
      ADD_FAILURE() << failure;
    }
  }
}

}  // namespace zav::testing
