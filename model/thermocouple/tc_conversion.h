#pragma once

#include <cstdint>
#include <span>

inline constexpr int32_t kTcCustomCapacity = 300;

// The custom thermocouple table as a parameter set stores it. Point i lies at start + i x step.
struct CTcCustomTable {
    int32_t start;                                       // 1e-4 degC
    int32_t step;                                        // whole degC
    int32_t points;                                      // points in use
    std::span<const int32_t, kTcCustomCapacity> values;  // 1e-4 mV, that is 0.1 uV
};

// Conversions between thermoelectric voltage and temperature. Input types 0 to 11 read the standard
// reference tables; every other index (12 and 13, but also a negative one from a damaged file) reads
// the custom table. Stored counts outside their ranges are tolerated: the point count is taken within
// 1..300 and a step below 1 as 1, so no conversion reads past the table or divides by zero.
class CTcConversion {
public:
    explicit CTcConversion(const CTcCustomTable& custom);

    double VoltageToTemperature(int32_t type, double microvolts) const;
    double TemperatureToVoltage(int32_t type, double celsius) const;
    // Start voltage (uV) of the 512-point output table.
    double GetTableStartVolt(int32_t type) const;
    // Voltage period index of the output table, 0 to 3.
    int32_t GetTableVoltPeriod(int32_t type) const;
    // Thermoelectric voltage at the cold-junction temperature (1e-4 degC), in 0.1 uV but cut to whole
    // microvolts, the resolution its register carries.
    int32_t ColdJunctionVoltage(int32_t type, int32_t coldJunction) const;

    static double Pt1000ToTemperature(double ohm);
    // 32, 64, 128 or 256 uV for period index 0 to 3 (an index outside is taken at the nearest end).
    static int32_t PeriodMicrovolts(int32_t periodIndex);

private:
    double CustomMicrovolts(int32_t i) const { return m_values[static_cast<size_t>(i)] / 10.0; }
    // V[i] - V[i-1] in 0.1 uV, without overflow.
    double CustomRise(int32_t i) const;
    double CustomVoltageToTemperature(double microvolts) const;
    double CustomTemperatureToVoltage(double celsius) const;

    double m_start;
    int32_t m_step;
    int32_t m_points;
    std::span<const int32_t, kTcCustomCapacity> m_values;
};
