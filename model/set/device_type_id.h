#pragma once

#include <cstdint>

// The device type id a set carries: which model it stands for. The model registry (CDeviceType) maps
// model codes and the model menu to these; the profile stores them as numbers.
enum DeviceTypeId : int32_t {
    kTypeDcInput = 0,  // the base set, which no model code selects
    kTypeThermocouple = 1,
    kTypeRtd = 2,
    kTypePotentiometer = 3,
    kTypeUniversalTc = 4,
    kTypeUniversalRtd = 5,
    kTypeUniversalVoltage = 6,
    kTypeUniversalResistance = 7,
    kTypeTwoTcDifference = 8,
    kTypeTwoTcAverage = 9,
};

// The kinds of the universal device: type ids 4 to 9.
constexpr bool IsUniversalType(int32_t typeId) {
    return typeId >= kTypeUniversalTc && typeId <= kTypeTwoTcAverage;
}
// The two-thermocouple kinds have two input channels.
constexpr bool IsTwoChannelType(int32_t typeId) {
    return typeId == kTypeTwoTcDifference || typeId == kTypeTwoTcAverage;
}
