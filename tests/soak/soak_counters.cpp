#include "tests/soak/soak_counters.h"

#include <string>

#include "tests/soak/soak_program.h"

namespace zav::testing {

void CheckProgramCounters(SoakProgram& soak) {
  // The controller takes in only frames the program sent: the line loses and never makes up
  // request frames.
  const std::uint64_t taken = soak.controller.Requests().size();
  if (taken > soak.watch.RequestFramesSent()) {
    soak.Fail("the controller took " + std::to_string(taken) + " requests, the program sent " +
              std::to_string(soak.watch.RequestFramesSent()));
  }
}

}  // namespace zav::testing
