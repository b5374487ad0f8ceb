#pragma once
// Whether a stream is the user's terminal (a console window on Windows), and reading the
// answer typed there. CMake picks the system's file.

#include <cstdio>
#include <string>

namespace zav::console {

bool IsTerminal(std::FILE* stream);
// The line typed on the terminal `answers`, once the clock's wait said it is ready.
std::string ReadAnswer(std::FILE* answers);

}  // namespace zav::console
