#pragma once

#include <cstdint>
#include <string>

// The temperature display unit of the temperature-input models: 0 degC, 1 degF, 2 K. A device can also
// report 3 (its Ohm display), which files and devices carry as 7; every unit but 1 and 2 leaves a
// temperature in degC.
enum TemperatureUnit : int32_t { kUnitDegC = 0, kUnitDegF = 1, kUnitKelvin = 2, kUnitDeviceOhm = 3 };

// The device's Ohm unit as files and devices write it.
inline constexpr int32_t kUnitDeviceOhmStored = 7;

// A temperature in 1e-4 degC in 1e-4 of the display unit (degF rounded half away from zero), and back.
int32_t TemperatureToDisplay(int32_t unit, int32_t value);
int32_t TemperatureFromDisplay(int32_t unit, int32_t value);

// Name of a display unit (string 11000 + unit; empty where the table has none), with the degree sign put
// before a name that is only "C" or "F".
std::string TemperatureUnitName(int32_t unit);
