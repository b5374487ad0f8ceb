#pragma once
// "Name of config": which stored configuration the current parameters are, shown in field
// 1109 of the main window on every tick.

#include <optional>
#include <string>

#include "params/config_library.h"

namespace zav {

inline constexpr int kConfigNameField = 1109;
inline constexpr const char* kDefaultValuesName = "Default values";

// What the field shows for these values: "Default values" when they are the defaults (the
// records are not searched), else the name of the last record holding them, else the
// empty text. Nothing while no library is loaded: the field then keeps its text.
std::optional<std::string> ConfigNameFor(const ConfigLibrary& library, const ParameterWords& words);

// Writes the field on every call, also when its text does not change.
void ShowConfigName(const ConfigLibrary& library, const RegisterImage& image, Desktop& desktop,
                    WindowRef mainWindow);

}  // namespace zav
