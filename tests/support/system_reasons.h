#pragma once
// The reasons the system itself gives for a failed file operation, where systems differ:
// the program reports them as the system words them.

#include <string>

namespace zav::testing {

// A file saved into a "folder" that is a plain file.
std::string ParentIsAFileReason();

}  // namespace zav::testing
