// What the phone's layer tells the sensor library, in the environment it starts the
// program with, and the library's one way of refusing.
#pragma once

#include <string>

#include "console.h"

namespace sensor_dll {

// The setting `name`; "" when it is not set.
std::wstring Setting(const wchar_t* name);

using winmobile::Utf8;

// One line on standard error, then the program ends with exit code 2: the library stands
// in for a device driver, and a phone set up wrongly is not one to play on.
[[noreturn]] void Refuse(const std::string& line);

}  // namespace sensor_dll
