#include "sim/sim_calibration.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/sim_device.h"
#include "sim/sim_line.h"

using namespace std::chrono_literals;

// The calibration items answer as the factory's device does; stored points keep the count the input
// (item 5) or the last driven D/A value (item 4) had.
TEST(SimCalibration, AnswersTheInputAndOutputCalibrationItems) {
    const struct {
        const char* command;
        const char* reply;
    } steps[] = {
        {"G99\r", "Denter item number\r"},
        {"I05\r", "D05\r"},
        {"DV\r", "D2500.1234\r"},
        {"DV2500.5\r", "D2500.5\r"},
        {"DVabc\r", "E\r"},
        {"DR\r", "D100.0100\r"},
        {"DG3\r", "D\r"},
        {"DLR\r", "D1200 0.0000\r"},
        {"DL0.0\r", "D1234 0.0\r"},
        {"DHR\r", "D59000 100.0000\r"},
        {"DL\r", "E\r"},
        {"DG\r", "D\r"},
        {"I04\r", "D04\r"},
        {"DX1500\r", "D\r"},
        {"DM12.01\r", "D1500 12.01\r"},
        {"DMR\r", "D1500 12.01\r"},
        {"DLR\r", "D2000 4.0000\r"},
        {"DX\r", "E\r"},
    };
    CSimDevice device("K9TS");
    CSimLine line(device.GetSlavePath());
    for (const auto& step : steps) {
        line.Write(step.command);
        EXPECT_EQ(line.ReadLine(2000ms), step.reply) << step.command;
    }
    EXPECT_EQ(device.GetItem(SimCalibration::kGroup, SimCalibration::Field(SimCalibration::kItemInput, 'V')),
              "2500.5");
    EXPECT_EQ(device.GetItem(SimCalibration::kGroup, SimCalibration::Field(SimCalibration::kItemInput, 'G')),
              "");
}
