#pragma once

#include "model/universal/par_universal.h"

// The universal model configured for a resistance input: type id 7, model code "K9U3".
class CParTypeU3 : public CParUniversal {
public:
    CParTypeU3();

    std::unique_ptr<CParBase> CreateInstance() const override;
    void CopyFrom(const CParBase& src) override;
    std::string FormatValue(int32_t code, int32_t value, bool withUnit) const override;
    std::string GetValueString(int32_t code) const override;
    int32_t GetValue(int32_t code) const override;
    void SetValueFromString(int32_t code, const std::string& text, bool check) override;
    void SetValue(int32_t code, int32_t value, bool check) override;
    std::string GetInputUnit() const override;
    void GetInputAdjustLimits(double& low, double& high) const override;
    int32_t GetInputAdjustScale() const override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

private:
    int32_t m_sensorWires = 1;
};
