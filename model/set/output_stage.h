#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "model/set/par_type_v.h"

class CModbusInterface;

// The output stage of the models with burnout detection: burnout on or off, the output value at burnout
// and the output limits, in 1e-4 mA; the currents travel as output registers of 4e-4 mA per count with
// 4 mA at 10000.
class CParOutputStage : public CParTypeV {
public:
    enum StageCode : int32_t {
        kBurnout = 60,
        kBurnoutValue = 67,
        kOutputHigh = 103,
        kOutputLow = 104,
    };

    enum StageRegister : int32_t {
        kRegStageBits = 2058,
        kRegBurnoutValue = 2059,
        kRegOutputHigh = 2061,
        kRegOutputLow = 2062,
        kRegPresentOutput = 2071,
        // The universal device's kind: a character selecting the sensor kind its settings are for.
        kRegKind = 2077,
    };

    std::string FormatValue(int32_t code, int32_t value, bool withUnit) const override;
    std::string GetValueString(int32_t code) const override;
    int32_t GetValue(int32_t code) const override;
    // The burnout choice, the output value at burnout and the output limits are tested only with `check`.
    void SetValue(int32_t code, int32_t value, bool check) override;
    void SetValueFromString(int32_t code, const std::string& text, bool check) override;
    std::string FormatRawValue(int32_t code, int32_t value) const override;

    void WriteParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ReadParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

protected:
    // Burnout is bit 3 of register 2058; encoding it keeps the bits of `keep` (bits 8 to 15 are always
    // cleared) and sets those of `set`.
    CParOutputStage(uint16_t keep, uint16_t set);

    void CopyStage(const CParOutputStage& src);

    // Runs `download` with the device's output held at its present value (or the burnout value while
    // the sensor is broken) in register 2072, so that the output does not jump while the settings
    // change; the status takes the device's burnout bit. However the download ends, the hold is released
    // afterwards, so a failure never leaves the loop frozen. A release that fails is reported: after a
    // failed download in one message with that failure, which comes first.
    void DownloadWithOutputHeld(CModbusInterface& modbus, const std::function<void()>& download);

    // The frame of a download of `part` by `download`. A single part is sent as it stands. Every part
    // first writes `kind` to the kind register (0: not written), then runs with the output held and
    // counted against `total`. However it ends, the progress total goes back to `keptTotal`.
    struct DownloadFrame {
        uint16_t kind;
        int32_t total;
        int32_t keptTotal;
    };
    void DownloadFramed(CModbusInterface& modbus, int32_t part, const DownloadFrame& frame,
                        const std::function<void()>& download);

    // The live output of a monitor read (1e-4 mA) and its percent, and whether the loop test or a burnout
    // forced it. The device reports no input percent: the output percent of the previous read stands in,
    // taken only when neither that read nor this one had the output forced, for a forced output says
    // nothing of the input; otherwise the input percent stays.
    void SetLiveOutput(int32_t outputValue, bool forced);

    int32_t m_burnout = 1;
    int32_t m_burnoutValue = 230000;
    int32_t m_outputHigh = 215000;
    int32_t m_outputLow = 38000;

private:
    // The output percent held from the previous read followed the input.
    bool m_outputFollowsInput = false;
    uint16_t m_burnoutKeep;
    uint16_t m_burnoutSet;
};

// 10000 + (value - 40000) / 4, truncated toward zero; the low 16 bits go to the register.
uint16_t OutputToRegister(int32_t value);
// (register - 10000) x 4 + 40000.
int32_t RegisterToOutput(uint16_t reg);

// Status bits of the device status register: burnout, A/D error, ROM error.
uint32_t DeviceStatusBits(uint16_t deviceStatus);

// Signed 32-bit values over two registers, low 16 bits in the lower register.
int32_t GetLowFirst(std::span<const uint16_t> regs, std::size_t index);
void SetLowFirst(std::span<uint16_t> regs, std::size_t index, int32_t value);

// Output percent of an output value (1e-4 mA): ((value - 4 mA) / 16, truncated) x 100, in 1e-4 %.
int32_t OutputPercent(int32_t outputValue);
