#pragma once

#include <cstdint>
#include <span>

// Standard thermocouple types by input type index: K E J T B R S C D N U L.
inline constexpr int32_t kTcStandardTypes = 12;

// Whole-degree reference data of one standard thermocouple type.
struct CTcReference {
    std::span<const double> emf;  // uV, entry j at firstTemperature + j degC, strictly increasing
    double firstTemperature;      // degC
    int32_t periodIndex;          // output table voltage period, 0 to 3 for 32, 64, 128, 256 uV
};

// The reference data of a standard type; null for any other index (the custom types and garbage).
const CTcReference* FindTcReference(int32_t type);

// Resistance of the Pt1000 cold-junction sensor in Ohm, entry j at (j - 250) degC.
inline constexpr int32_t kPt1000Entries = 1151;
inline constexpr double kPt1000FirstTemperature = -250.0;
std::span<const double, kPt1000Entries> Pt1000Reference();
