#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A custom sensor table (custom RTD or thermocouple): a start temperature, a whole-degree step and at
// most 300 values, one per step from the start temperature. Its text file:
//   Minimum Temperature = -200.0000
//   Step = 10
//   {
//   18.5201
//   ...
//   }
// Reading skips empty lines and lines beginning with '/'. Before the block the start temperature is
// also accepted as "Minimum RTD Temperature" or "Minimum TC Temperature"; header lines may repeat and
// the last valid one counts; other header lines are ignored. In the block every line holding a number
// adds a value; other lines are ignored.
class CTableFile2 {
public:
    static constexpr std::size_t kMaxValues = 300;

    virtual ~CTableFile2() = default;

    const std::vector<double>& GetValues() const { return m_values; }
    void SetValues(std::vector<double> values) { m_values = std::move(values); }
    double GetStartTemperature() const { return m_startTemperature; }
    void SetStartTemperature(double temperature) { m_startTemperature = temperature; }
    int32_t GetStep() const { return m_step; }
    void SetStep(int32_t step) { m_step = step; }

    // Replaces the values by the file's; start temperature and step change only through valid header
    // lines. Throws CPrivateException: 30300 the file does not open, 30302 a block before a valid start
    // and step, no closing brace or no value, 30303 more than 300 values, 30304 a start temperature
    // outside -300 to 1000, 30305 a step outside 1 to 50. The values read so far remain. A value not
    // above the one before it is kept and reported to the user (30306 with the line number) through
    // the notifier.
    void Load(const std::string& path);
    // Throws when the table's file would not load back: 30307 without values, 30308 with a start
    // temperature outside -300 to 1000, 30309 with a step outside 1 to 50.
    void CheckSavable() const;
    // Writes the table (CR LF line ends). Throws as CheckSavable before anything is written, 30300 when
    // no file can be made there, 30301 when writing fails; the file that stood there is then unchanged.
    void Save(const std::string& path) const;

private:
    std::vector<double> m_values;
    double m_startTemperature = 0.0;
    int32_t m_step = 0;
};
