#pragma once
// Where a soak compares what the program counts with what the line did to it. The program
// keeps no link counters of its own yet; once it does (frames taken, frames refused, polls
// unanswered, silences), each is compared here with what the soak knows for certain: the
// weather's spells, the frames the watch took and judged, the requests the controller took.

namespace zav::testing {

class SoakProgram;

// Adds a failure to the soak's result for every count that disagrees.
void CheckProgramCounters(SoakProgram& soak);

}  // namespace zav::testing
