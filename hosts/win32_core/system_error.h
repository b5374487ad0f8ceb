#pragma once
// The system's own words for an error number of GetLastError().

#include <string>

namespace zav::win32 {

// "Access is denied (error 5)": the words first, for the status line, the number after,
// for a search.
std::string SystemErrorText(unsigned long error);

}  // namespace zav::win32
