#pragma once
// Runs soaks from the environment's choice of seeds and length, prints what each did, and
// fails the test with every broken invariant (each with its seed and virtual time).
//   ZAV_SOAK_SEED     first seed (default 1)
//   ZAV_SOAK_SEEDS    how many seeds, one after the other (default 1)
//   ZAV_SOAK_MINUTES  virtual minutes a seed (default: the test's own length)

#include "tests/soak/soak_program.h"

namespace zav::testing {

void RunSoaksFromEnvironment(Micros defaultDuration);

}  // namespace zav::testing
