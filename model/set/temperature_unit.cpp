#include "model/set/temperature_unit.h"

#include <cmath>
#include <limits>

#include "platform/c_number.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

constexpr int32_t kFahrenheitZero = 320000;
constexpr int32_t kKelvinZero = 2731500;
// The degree sign as UTF-8; display only, never stored.
constexpr const char* kDegreeSign = "\xC2\xB0";

// std::round rounds half away from zero; what int32 cannot hold saturates.
int32_t RoundHalfAway(double value) { return ToInt32Trunc(std::round(value)); }

}  // namespace

int32_t EffectiveTemperatureUnit(int32_t unit) {
    return unit == kUnitDegF || unit == kUnitKelvin ? unit : kUnitDegC;
}

int32_t StoredTemperatureUnit(int32_t unit) { return unit == kUnitDeviceOhm ? kUnitDeviceOhmStored : unit; }

int32_t TemperatureToDisplay(int32_t unit, int32_t value) {
    switch (unit) {
        case kUnitDegF: return SaturateInt32(int64_t{RoundHalfAway(value * 1.8)} + kFahrenheitZero);
        case kUnitKelvin: return SaturateInt32(int64_t{value} + kKelvinZero);
        default: return value;
    }
}

int32_t TemperatureFromDisplay(int32_t unit, int32_t value) {
    switch (unit) {
        case kUnitDegF: return RoundHalfAway((static_cast<double>(value) - kFahrenheitZero) / 1.8);
        case kUnitKelvin: return SaturateInt32(int64_t{value} - kKelvinZero);
        default: return value;
    }
}

std::string TemperatureUnitName(int32_t unit) {
    const int64_t id = int64_t{kStrTemperatureUnits} + unit;
    if (id < 0 || id > std::numeric_limits<unsigned>::max()) return std::string();
    std::string name = LoadString(static_cast<unsigned>(id));
    if (name == "C" || name == "F") name = kDegreeSign + name;
    return name;
}

std::string CustomStepText(int32_t unit, int32_t step) {
    return unit == kUnitDegF ? FormatC("%.1lf", step * 1.8) : FormatC("%d", step);
}

int32_t CustomStepFromDisplay(int32_t unit, double typed) {
    return SnapTrunc(unit == kUnitDegF ? typed / 1.8 : typed);
}

std::string TemperatureInputUnit(int32_t unit) {
    if (unit < kUnitDegC || unit > kUnitKelvin) return LoadString(kStrUnitOhm);
    return TemperatureUnitName(unit);
}
