#pragma once

#include "model/thermocouple/par_type_t.h"

// What the universal model's two-thermocouple kinds share: the fine adjustment of the second input and
// the voltages of both thermocouples in the monitor.
class CParTwoTc : public CParTypeT {
public:
    enum Code : int32_t {
        kInput2FineZero = 10005,
        kInput2FineSpan = 10006,
        kTc1Voltage = 61004,
        kTc2Voltage = 61005,
    };

    std::string FormatValue(int32_t code, int32_t value, bool withUnit) const override;
    std::string GetValueString(int32_t code) const override;
    int32_t GetValue(int32_t code) const override;
    void SetValue(int32_t code, int32_t value, bool check) override;
    std::string FormatRawValue(int32_t code, int32_t value) const override;

    void WriteParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ReadParamModbus(CModbusInterface& modbus, int32_t code) override;
    void UploadModbus(CModbusInterface& modbus, int32_t part) override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

    enum TwoTcRegister : int32_t {
        kRegInput2FineZero = 2053,
        kRegInput2FineSpan = 2054,
        kRegTc2Voltage = 2080,
    };

protected:
    // `typeId` and `modelCode` of the kind; `table` its definition rows.
    CParTwoTc(int32_t typeId, const char* modelCode, const ParDef* table);

    void CopySecondInput(const CParTwoTc& src);

    uint16_t KindCharacter() const override { return m_kind; }
    void ReadMonitorExtra(CModbusInterface& modbus) override;
    void DecodeTcVoltages() override;
    void DownloadExtra(CModbusInterface& modbus, int32_t part) override;

    int32_t m_input2FineZero = 0;
    int32_t m_input2FineSpan = 10000;
    int32_t m_tc1Voltage = 0;
    int32_t m_tc2Voltage = 0;

private:
    uint16_t m_kind;
};
