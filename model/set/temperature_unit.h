#pragma once

#include <cstdint>
#include <string>

// The temperature display unit of the temperature-input models: 0 degC, 1 degF, 2 K. A device can also
// report 3 (its Ohm display), which files and devices carry as 7; every unit but 1 and 2 leaves a
// temperature in degC.
enum TemperatureUnit : int32_t { kUnitDegC = 0, kUnitDegF = 1, kUnitKelvin = 2, kUnitDeviceOhm = 3 };

// The device's Ohm unit as files and devices write it.
inline constexpr int32_t kUnitDeviceOhmStored = 7;

// The unit temperatures are converted to and named in: degF and K as stored, degC for every other unit.
int32_t EffectiveTemperatureUnit(int32_t unit);

// The stored text form of a display unit: the device's Ohm unit is written as 7.
int32_t StoredTemperatureUnit(int32_t unit);

// A temperature in 1e-4 degC in 1e-4 of the display unit (degF rounded half away from zero), and back.
int32_t TemperatureToDisplay(int32_t unit, int32_t value);
int32_t TemperatureFromDisplay(int32_t unit, int32_t value);

// The step of a custom table (whole degC) as shown in a display unit: degF one decimal, else whole
// degrees; and a typed step back to whole degC, snapped so that a shown step reads back unchanged.
std::string CustomStepText(int32_t unit, int32_t step);
int32_t CustomStepFromDisplay(int32_t unit, double typed);

// Name of a display unit (string 11000 + unit; empty where the table has none), with the degree sign put
// before a name that is only "C" or "F".
std::string TemperatureUnitName(int32_t unit);

// Unit of the input value of a temperature model: the temperature unit's name for degC, degF and K; the
// device's Ohm unit and unknown values show "Ohm".
std::string TemperatureInputUnit(int32_t unit);
