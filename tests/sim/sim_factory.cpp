#include "sim/sim_factory.h"

#include <cstdint>

namespace {

// Output currents in 1e-4 mA as the output-stage registers hold them: 10000 + (value - 40000) / 4.
constexpr uint16_t OutputRegister(int32_t value) {
    return static_cast<uint16_t>(10000 + (value - 40000) / 4);
}

constexpr uint16_t kBurnoutBit = 0x08;

void SetHighLow(CSimModel& model, int high, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    model.SetRegister(high, static_cast<uint16_t>(bits >> 16));
    model.SetRegister(high + 1, static_cast<uint16_t>(bits & 0xFFFFu));
}

void SetLowHigh(CSimModel& model, int low, int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    model.SetRegister(low, static_cast<uint16_t>(bits & 0xFFFFu));
    model.SetRegister(low + 1, static_cast<uint16_t>(bits >> 16));
}

// 0 % and 100 % input in the model's input unit x 10000.
void SetInputRange(CSimModel& model, int32_t zero, int32_t full) {
    SetHighLow(model, 1288, zero);
    SetHighLow(model, 1290, full);
}

// Burnout value 23 mA, high limit 21.5 mA, low limit 3.8 mA.
void SetOutputStage(CSimModel& model) {
    model.SetRegister(2059, OutputRegister(230000));
    model.SetRegister(2061, OutputRegister(215000));
    model.SetRegister(2062, OutputRegister(38000));
}

// The custom table's head: start, step and number of points, each 32 bits low word first.
void SetTableHead(CSimModel& model, int32_t start, int32_t step, int32_t points) {
    SetLowHigh(model, 1344, start);
    SetLowHigh(model, 1346, step);
    SetLowHigh(model, 1348, points);
}

void SetTablePoint(CSimModel& model, int index, int32_t value) { SetLowHigh(model, 1360 + 2 * index, value); }

}  // namespace

void SimFactoryShared(CSimModel& model) {
    // Two characters per register, the first in the low byte.
    model.SetRegister(1024, 'D' | 'e' << 8);
    model.SetRegister(1025, 'f' | 'a' << 8);
    model.SetRegister(1026, 'u' | 'l' << 8);
    model.SetRegister(1027, 't');
    model.SetText(1056, 8, "Default");
    model.SetRegister(1284, 4000);   // 0 % output, 4 mA
    model.SetRegister(1285, 20000);  // 100 % output, 20 mA
    model.SetRegister(2065, 10000);  // input fine span 1
    model.SetRegister(2067, 10000);  // output fine span 1
}

void SimFactoryRtd(CSimModel& model) {
    SetInputRange(model, -2000000, 8500000);  // Pt100, -200 to 850 degC
    // 3 wires (2 + 1), burnout on, the 0-500 Ohm range.
    model.SetRegister(2058, 2 | kBurnoutBit | 2 << 4);
    SetOutputStage(model);
    SetTableHead(model, 0, 1, 2);
    SetTablePoint(model, 1, 1);
}

void SimFactoryThermocouple(CSimModel& model) {
    SetInputRange(model, -1800000, 13720000);               // type K, -180 to 1372 degC
    model.SetRegister(2055, static_cast<uint16_t>(-6272));  // K table starts at -6272 uV
    model.SetRegister(2056, 2);                             // in steps of 128 uV
    model.SetRegister(2058, kBurnoutBit | 2 << 4);          // burnout on, the 100 mV range
    SetOutputStage(model);
    model.SetRegister(2063, 1);  // fixed terminal temperature
    SetTableHead(model, 0, 1, 2);
    SetTablePoint(model, 1, 1);
}

void SimFactoryTwoThermocouples(CSimModel& model) {
    SimFactoryThermocouple(model);
    model.SetRegister(2058, static_cast<uint16_t>(model.GetRegister(2058) | 0x05));
    SetHighLow(model, 1294, 10000);  // a difference of 1 degree is 100 %
    model.SetRegister(2054, 10000);  // input 2 fine span 1
}

void SimFactoryPotentiometer(CSimModel& model) {
    SetInputRange(model, 0, 1000000);
    model.SetRegister(2058, 0x04 | kBurnoutBit);
    SetOutputStage(model);
    // The linearizer maps -15 %, 50 % and 115 % to themselves; the output table follows it from -15 %
    // (4000) to 115 % (56000) in steps of 1 %.
    SetTableHead(model, 0, 0, 3);
    const int32_t points[] = {-150000, 500000, 1150000};
    for (int i = 0; i < 3; ++i) {
        SetTablePoint(model, 2 * i, points[i]);
        SetTablePoint(model, 2 * i + 1, points[i]);
    }
    for (int i = 0; i <= 130; ++i) model.SetRegister(i, static_cast<uint16_t>(10000 + 400 * (i - 15)));
}

void SimFactoryMillivolt(CSimModel& model) {
    model.SetRegister(1280, 30);       // -10 to +100 mV
    SetInputRange(model, 0, 1000000);  // 0 to 100 mV
    model.SetRegister(2058, 0x04 | kBurnoutBit | 2 << 4);
    SetOutputStage(model);
}

void SimFactoryResistance(CSimModel& model) {
    model.SetRegister(1280, 40);                        // 0 to 500 Ohm
    SetInputRange(model, 0, 5000000);                   // 0 to 500 Ohm
    model.SetRegister(2058, 2 | kBurnoutBit | 2 << 4);  // 3 wires, burnout on, the 500 Ohm range
    SetOutputStage(model);
}
