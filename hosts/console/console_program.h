#pragma once
// What a command-line program needs of the system around it, before its first command and
// after its last: its arguments in UTF-8, and the system's own set-up (Qt Core's application
// on Linux; binary standard output and UTF-8 on the Windows console). CMake picks the file.

#include <functional>
#include <string>
#include <vector>

namespace zav::console {

// Runs `program` with the arguments (the program's name first); its result is the exit code.
int RunConsoleProgram(int argc, char** argv,
                      const std::function<int(const std::vector<std::string>&)>& program);

}  // namespace zav::console
