#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/set/par_custom_table.h"
#include "model/thermocouple/tc_conversion.h"

// The parameter set of the thermocouple-input models: type id 1 ("K9TS") and the universal model's
// thermocouple kind, type id 4 ("K9U0"); the base of the two-thermocouple kinds. Temperatures are stored
// in 1e-4 degC and shown in a choosable display unit. A custom table of up to 300 voltages stands in for
// the linearizer, and the device linearises its input through a 512-point output table and a 64-point
// cold-junction table the program computes.
class CParTypeT : public CParCustomTable {
public:
    enum Code : int32_t {
        kTerminalSelect = 61,
        kColdJunction = 62,
        kDisplayUnit = 65,
        kVoltageRange = 66,
        kStartVolt = 68,
        kVoltPeriod = 69,
        kColdJunctionVolt = 70,
        kVoltageFirst = kCustomValueFirst,
        kVoltageLast = kCustomValueLast,
        kOutputTableFirst = 22000,
        kOutputTableLast = 22511,
        kCjTableFirst = 23000,
        kCjTableLast = 23063,
        kCjmTemperature = 61001,
        kTcVoltage = 61002,
    };

    // Registers of this model beyond the common ones.
    enum TcRegister : int32_t {
        kRegCjTable = 768,
        kRegDisplayUnit = 1283,
        kRegColdJunction = 1287,
        kRegStartVolt = 2055,
        kRegVoltPeriod = 2056,
        kRegColdJunctionVolt = 2057,
        kRegTerminalSelect = 2063,
        kRegTcVoltage = 2069,
        kRegCjResistance = 2079,
    };

    static constexpr int32_t kPartOutputTable = 4;
    static constexpr int32_t kPartCjTable = 5;

    // Input types: 0 to 11 the standard thermocouples K E J T B R S C D N U L, then the custom tables.
    enum InputType : int32_t { kTypeN = 9, kTypeCustom100 = 12, kTypeCustom50 = 13, kInputTypes = 14 };

    static constexpr int32_t kOutputTablePoints = 512;
    static constexpr int32_t kCjTablePoints = 64;
    static constexpr int32_t kTableRows = 4 + kTcCustomCapacity;

    // Type id 4 makes the universal model's thermocouple kind; any other the thermocouple model.
    explicit CParTypeT(int32_t typeId = 1);

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
    // Files written while the custom TC points had no row of their own lack P21007: they load with the
    // count the set has, as they always did.
    bool KeepsValueWithoutKey(int32_t code) const override { return code == kCustomPoints; }
    std::string GetSensorUnit() const override;
    std::string GetInputUnit() const override;

    std::string GetTableTitle(int32_t group, int32_t variant) const override;
    void EditTable(int32_t group, int32_t variant) override;
    void EditTable2(int32_t group, int32_t variant) override;

    void GetInputAdjustLimits(double& low, double& high) const override;
    int32_t GetInputAdjustScale() const override;
    std::string FormatRawValue(int32_t code, int32_t value) const override;

    void WriteParamAscii(CCommInterface& comm, int32_t code) override;
    void ReadParamAscii(CCommInterface& comm, int32_t code) override;
    void WriteParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ReadParamModbus(CModbusInterface& modbus, int32_t code) override;
    void DownloadAscii(CCommInterface& comm, int32_t part) override;
    void DownloadModbus(CModbusInterface& modbus, int32_t part) override;
    void UploadAscii(CCommInterface& comm, int32_t part) override;
    void UploadModbus(CModbusInterface& modbus, int32_t part) override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

    // The output table (1e-4 mA): for 512 voltages from the table start voltage in steps of the voltage
    // period, the output that the temperature at that voltage gives, within 1.6 to 21.6 mA. A zero input
    // span gives the 0 % output everywhere; a download refuses it before.
    std::array<int32_t, kOutputTablePoints> ComputeOutputTable() const;
    // The cold-junction table (uV): the voltage of the input type at the temperatures of 64 Pt1000
    // resistances from 680.0 Ohm in steps of 12.8 Ohm. A download refuses a table whose values do not
    // fit the device's signed 16-bit registers.
    std::array<int32_t, kCjTablePoints> ComputeCjTable() const;

    // A temperature in 1e-4 degC in 1e-4 of the display unit, and back.
    int32_t ToDisplayUnit(int32_t value) const;
    int32_t FromDisplayUnit(int32_t value) const;

    // Conversions of an input type, the custom types through this set's custom table.
    double VoltageToTemperature(int32_t type, double microvolts) const;
    double TemperatureToVoltage(int32_t type, double celsius) const;
    double GetTableStartVolt(int32_t type) const;
    int32_t GetTableVoltPeriod(int32_t type) const;
    static double Pt1000ToTemperature(double ohm) { return CTcConversion::Pt1000ToTemperature(ohm); }

    // The administrator mode is off and the 7th character of the model text is "0": such a device
    // measures type N only.
    bool IsRestrictedModel() const { return IsRestrictedModelText(m_model); }
    static bool IsRestrictedModelText(std::string_view model);
    static bool IsStandardType(int32_t type) { return type >= 0 && type < kTypeCustom100; }

    static bool IsVoltageCode(int32_t code) { return code >= kVoltageFirst && code <= kVoltageLast; }
    static bool IsOutputTableCode(int32_t code) {
        return code >= kOutputTableFirst && code <= kOutputTableLast;
    }
    static bool IsCjTableCode(int32_t code) { return code >= kCjTableFirst && code <= kCjTableLast; }

protected:
    // 68, 69 and 70 from the input type and the cold-junction temperature.
    void RecomputeDerived();
    // 68, 69 and 70 come last: the input type, the cold-junction temperature and the custom table before
    // them recompute them, and a file keeps the values it holds (a device may hold others).
    std::vector<int32_t> GetLoadOrder() const override;
    // The step total of a full transfer from the rows of the definition table, kept for the transfers.
    void CountProgressTotal();
    // A text editor's fixed-point text, taken from the display unit.
    int32_t ParseDisplayTemperature(const std::string& text) const;
    // The display unit whose name follows a temperature: the device's Ohm unit shows as degC.
    int32_t UnitForName() const;

    // The character a full download writes to register 2077 to select the universal device's kind;
    // 0 for the thermocouple model, which has none.
    virtual uint16_t KindCharacter() const;
    // Reads what the monitor needs beyond registers 2069 to 2079.
    virtual void ReadMonitorExtra(CModbusInterface& modbus);
    // Decodes the monitored thermocouple voltages.
    virtual void DecodeTcVoltages();
    // The monitored input value from the input percent.
    virtual int32_t MonitorInput() const;
    // Transfers of a full or fine-adjustment download after the common ones, before the output is
    // released.
    virtual void DownloadExtra(CModbusInterface& modbus, int32_t part);
    // A signed 32-bit value from two registers, high word first, times 10, saturated.
    int32_t GetVoltagePair(int32_t high) const;

    int32_t m_terminalSelect = 1;
    int32_t m_coldJunction = 0;
    int32_t m_coldJunctionVolt = 0;
    std::array<int32_t, kOutputTablePoints> m_outputTable{};
    std::array<int32_t, kCjTablePoints> m_cjTable{};
    int32_t m_startVolt = 0;
    int32_t m_voltPeriod = 0;
    int32_t m_displayUnit = 0;
    int32_t m_cjmTemperature = 0;
    int32_t m_tcVoltage = 0;
    int32_t m_voltageRange = 0;

private:
    // The blocks of a download part; a full download runs them with the output held.
    void DownloadParts(CModbusInterface& modbus, int32_t part);
    CTcConversion Conversion() const;

    // Refusals of a Modbus download, before anything is written: an output table the input span cannot
    // give (message 205 for the 100 % input), a start voltage beyond a signed register (message 229).
    void CheckModbusDownload(int32_t part) const;
    void DecodeMonitorValues();
    // Refuses a custom table that does not run strictly one way (message 226).
    void CheckCustomTableForAscii() const;
    // Refuses the input type when the device of model text `deviceModel` does not measure it (message
    // 224). Both downloads ask it before they write anything.
    void CheckTypeForDevice(std::string_view deviceModel) const;
    void CheckDeviceTypeForAscii(CCommInterface& comm) const;
    void CheckDeviceTypeForModbus(CModbusInterface& modbus) const;
};
