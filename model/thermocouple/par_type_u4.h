#pragma once

#include "model/thermocouple/par_two_tc.h"

// The universal model measuring two thermocouples and putting out their difference: type id 8, model
// code "K9U4". The difference at 0 % and 100 % scales the output and the monitored input.
class CParTypeU4 : public CParTwoTc {
public:
    enum DiffCode : int32_t { kDiff0 = 3, kDiff100 = 4 };

    CParTypeU4();

    std::unique_ptr<CParBase> CreateInstance() const override;
    void CopyFrom(const CParBase& src) override;
    std::string FormatValue(int32_t code, int32_t value, bool withUnit) const override;
    std::string GetValueString(int32_t code) const override;
    int32_t GetValue(int32_t code) const override;
    void SetValueFromItem(int32_t code, const CParEditor& editor) override;
    void SetValue(int32_t code, int32_t value, bool check) override;
    std::string FormatRawValue(int32_t code, int32_t value) const override;

    void WriteParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ReadParamModbus(CModbusInterface& modbus, int32_t code) override;
    void UploadModbus(CModbusInterface& modbus, int32_t part) override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

    enum DiffRegister : int32_t { kRegDiff0 = 1292, kRegDiff100 = 1294 };

protected:
    int32_t MonitorInput() const override;
    void DownloadExtra(CModbusInterface& modbus, int32_t part) override;

private:
    int32_t m_diff0 = 0;
    int32_t m_diff100 = 10000;
};
