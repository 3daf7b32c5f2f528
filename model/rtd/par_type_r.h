#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/set/par_custom_table.h"
#include "model/rtd/rtd_conversion.h"

// The parameter set of the RTD-input models: type id 2 (model codes beginning "K9R") and the universal
// model's RTD kind, type id 5 ("K9U1"). Temperatures are stored in 1e-4 degC and shown in a choosable
// display unit; a custom table of up to 300 resistances stands in for the linearizer, and the device
// linearises its input through a 512-point output table the program computes.
class CParTypeR : public CParCustomTable {
public:
    enum Code : int32_t {
        kSensorWires = 63,
        kDisplayUnit = 65,
        kCustomType = 21000,
        kCvdFirst = 21001,  // R0, A, B, C as the bits of single-precision floats
        kCvdLast = 21004,
        kResistanceFirst = kCustomValueFirst,
        kResistanceLast = kCustomValueLast,
        kOutputTableFirst = 22000,
        kOutputTableLast = 22511,
        kRtdResistance = 61003,
    };

    // Registers of this model beyond the common ones.
    enum RtdRegister : int32_t {
        kRegDisplayUnit = 1283,
        kRegRawResistance = 2069,
    };

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
    static bool IsOutputTableCode(int32_t code) {
        return code >= kOutputTableFirst && code <= kOutputTableLast;
    }

protected:
    int32_t m_sensorWires = 1;
    int32_t m_resistanceRange = 2;
    int32_t m_customType = 0;
    std::array<int32_t, 4> m_cvd{};
    std::array<int32_t, kOutputTablePoints> m_outputTable{};
    int32_t m_displayUnit = 0;  // degC
    int32_t m_rtdResistance = 0;

private:
    // The blocks of a download part; a full download runs them with the output held.
    void DownloadParts(CModbusInterface& modbus, int32_t part);
    // Refuses an output table that the input span cannot give: message 205 for the 100 % input.
    void CheckOutputTableSpan() const;
    // The live values of a poll, from the registers just read.
    void DecodeLiveValues();
    // The ASCII custom table item: the custom RTD type and the coefficients before the table.
    void DownloadCustomRtdAscii(CCommInterface& comm);
    void UploadCustomRtdAscii(CCommInterface& comm);
    // Refuses a custom table the device cannot take (message 215 or 225) before anything is sent.
    void CheckCustomTableForAscii() const;
};
