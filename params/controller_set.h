#pragma once
// The parameter set the controller itself confirmed: the values of its last completed read
// of registers 80 to 94, or of its last completed write (registers 80 to 92 as its replies
// carried them). It stands beside the register image, which also holds values never sent:
// a file loaded but not sent, "Default values", the Parameters dialog's "Ok" before "Set
// ZAV", and zeros before the first read. What is said to be the controller's (a log's
// parameter file, the factors line of "Petrol against gas") comes from here.

#include <optional>

#include "params/parameter_set.h"

namespace zav {

struct ControllerSet {
  ParameterWords words{};
  bool confirmed = false;  // false until a read or a write has completed in this run
};

bool HasControllerSet(const ControllerSet& set);

// A read of registers 80 to 102 completed: the image holds the controller's values.
void ConfirmReadSet(ControllerSet& set, const RegisterImage& image);

// A write completed: registers 80 to 92 of the image are what the controller took.
// Registers 93 and 94 are never written; they keep the last value read, or the image's
// when nothing was read before.
void ConfirmWrittenSet(ControllerSet& set, const RegisterImage& image);

// The set as an image (registers 80 to 94; the rest 0), for what is written from an image.
std::optional<RegisterImage> ControllerImage(const ControllerSet& set);

// What is said where the controller's set is not known.
inline constexpr const char* kNotReadYet = "not read yet";

}  // namespace zav
