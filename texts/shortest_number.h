#pragma once
// Numbers as a person writes them: the shortest text that reads back to the same value in
// the value's own type, with a point whatever the user's locale. A float is written as a
// float (2.2f is "2.2"); widened to double first it would read "2.200000047683716".

#include <string>

namespace zav {

std::string ShortestText(double value);
std::string ShortestText(float value);

}  // namespace zav
