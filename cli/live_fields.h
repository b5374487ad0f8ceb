#pragma once
// The live values as the main window shows them, from the data log's column table (its
// captions, units and decoding), each with a stable lower-case key for machine-readable
// output: the caption in lower case, blanks as '_', points left out ("Temp." is "temp",
// "Delta p" is "delta_p").

#include <string>

#include "datalog/sample_columns.h"

namespace zav::cli {

std::string KeyOf(const ShownColumn& column);

// A sample of the live table as it stands, with the status that came with it.
LiveSample SampleOf(const LiveValueTable& live, std::uint16_t status);

}  // namespace zav::cli
