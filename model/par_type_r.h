#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/par_type_v.h"
#include "model/rtd_conversion.h"

// The parameter set of the RTD-input models: type id 2 (model codes beginning "K9R") and the universal
// model's RTD kind, type id 5 ("K9U1"). Temperatures are stored in 1e-4 degC and shown in a choosable
// display unit; a custom table of up to 300 resistances stands in for the linearizer, and the device
// linearises its input through a 512-point output table the program computes.
class CParTypeR : public CParTypeV {
public:
    enum Code : int32_t {
        kBurnout = 60,
        kSensorWires = 63,
        kDisplayUnit = 65,
        kBurnoutValue = 67,
        kOutputHigh = 103,
        kOutputLow = 104,
        kCustomType = 21000,
        kCvdFirst = 21001,  // R0, A, B, C as the bits of single-precision floats
        kCvdLast = 21004,
        kCustomStart = 21005,
        kCustomStep = 21006,
        kCustomPoints = 21007,
        kResistanceFirst = 21008,
        kResistanceLast = kResistanceFirst + kCustomRtdMaxPoints - 1,
        kOutputTableFirst = 22000,
        kOutputTableLast = 22511,
        kRtdResistance = 61003,
    };

    // Registers of this model beyond the common ones.
    enum RtdRegister : int32_t {
        kRegDisplayUnit = 1283,
        kRegCustomHead = 1344,
        kRegCustomTable = 1360,
        kRegCustomTableEnd = 1960,  // one past R[299]
        kRegStageBits = 2058,
        kRegBurnoutValue = 2059,
        kRegOutputHigh = 2061,
        kRegOutputLow = 2062,
        kRegRawResistance = 2069,
        kRegPresentOutput = 2071,
        kRegModelCode4 = 2077,
    };

    enum DisplayUnit : int32_t { kUnitDegC = 0, kUnitDegF = 1, kUnitKelvin = 2, kUnitDeviceOhm = 3 };

    static constexpr int32_t kOutputTablePoints = 512;
    static constexpr int32_t kPartOutputTable = 4;
    static constexpr int32_t kTableRows = 4 + kCustomRtdMaxPoints;

    // Type id 5 makes the universal model's RTD kind; any other the RTD model.
    explicit CParTypeR(int32_t typeId = 2);

    std::unique_ptr<CParBase> CreateInstance() const override;
    void CopyFrom(const CParBase& src) override;

    int32_t GetParamCount(int32_t group) const override;
    std::string GetParamName(int32_t code) const override;
    std::string FormatValue(int32_t code, int32_t value, bool withUnit) const override;
    std::string GetValueString(int32_t code) const override;
    int32_t GetValue(int32_t code) const override;
    void SetValueFromItem(int32_t code, const CParEditor& editor) override;
    void SetValue(int32_t code, int32_t value, bool check) override;
    void SetValueFromString(int32_t code, const std::string& text, bool check) override;
    int32_t GetParamId(int32_t group, int32_t index) const override;
    int32_t GetParamState(int32_t code) const override;
    std::string GetSensorUnit() const override;
    std::string GetInputUnit() const override;

    std::string GetTableTitle(int32_t group, int32_t variant) const override;
    void EditTable(int32_t group, int32_t variant) override;
    void EditTable2(int32_t group, int32_t variant) override;

    void GetInputAdjustLimits(double& low, double& high) const override;
    int32_t GetInputAdjustScale() const override;
    std::string FormatRawValue(int32_t code, int32_t value) const override;

    void WriteParamAscii(CCommInterface& comm, int32_t code) override;
    void WriteParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ReadParamModbus(CModbusInterface& modbus, int32_t code) override;
    void DownloadAscii(CCommInterface& comm, int32_t part) override;
    void DownloadModbus(CModbusInterface& modbus, int32_t part) override;
    void UploadAscii(CCommInterface& comm, int32_t part) override;
    void UploadModbus(CModbusInterface& modbus, int32_t part) override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

    // The output table (1e-4 mA) the device linearises its input with: for 512 resistances evenly over
    // the resistance range, the output that the temperature at that resistance gives, within 1.6 to
    // 21.6 mA. A zero input span gives the 0 % output everywhere; a download refuses it before.
    std::array<int32_t, kOutputTablePoints> ComputeOutputTable() const;

    // A temperature in 1e-4 degC in 1e-4 of the display unit, and back.
    int32_t ToDisplayUnit(int32_t value) const;
    int32_t FromDisplayUnit(int32_t value) const;

    // Temperature in degC that a sensor of `inputType` shows at `resistance` Ohm, custom types through
    // this set's custom table.
    double ResistanceToTemperature(int32_t inputType, double resistance) const;

    static bool IsResistanceCode(int32_t code) { return code >= kResistanceFirst && code <= kResistanceLast; }
    static bool IsOutputTableCode(int32_t code) { return code >= kOutputTableFirst && code <= kOutputTableLast; }

protected:
    // The number of custom points every walk over R[] uses; the stored value stays as loaded.
    int32_t WalkCustomPoints() const;
    // The last temperature of the custom table, start + step x (points - 1), at least one step.
    int32_t CustomTableEnd() const;
    // The output-table rows of the step total are replaced by the table's own points during a full
    // transfer; this is the constructor's total.
    int32_t KeptProgressTotal() const { return m_keptProgressTotal; }

    int32_t m_burnout = 1;
    int32_t m_burnoutValue = 230000;
    int32_t m_sensorWires = 1;
    int32_t m_resistanceRange = 2;
    int32_t m_outputHigh = 215000;
    int32_t m_outputLow = 38000;
    int32_t m_customType = 0;
    std::array<int32_t, 4> m_cvd{};
    int32_t m_customStart = 0;
    int32_t m_customStep = 1;
    int32_t m_customPoints = 2;
    std::array<int32_t, kCustomRtdMaxPoints> m_resistance{};
    std::array<int32_t, kOutputTablePoints> m_outputTable{};
    int32_t m_displayUnit = kUnitDegC;
    int32_t m_rtdResistance = 0;

private:
    // Refuses an output table that the input span cannot give: message 205 for the 100 % input.
    void CheckOutputTableSpan() const;
    // The live values of a poll, from the registers just read.
    void DecodeLiveValues();
    // The ASCII custom table item.
    void DownloadCustomTableAscii(CCommInterface& comm);
    void UploadCustomTableAscii(CCommInterface& comm);
    // Refuses a custom table the device cannot take (message 215 or 225) before anything is sent.
    void CheckCustomTableForAscii() const;

    // Display unit that decides conversions and unit texts: 0 to 2 as stored; the device's Ohm unit
    // (3, stored as 7) and any unknown value leave temperatures in degC.
    int32_t EffectiveDisplayUnit() const;

    int32_t m_keptProgressTotal = 0;
};
