#pragma once

#include "model/universal/par_universal.h"

// The universal model configured for a DC millivolt input: type id 6, model code "K9U2".
class CParTypeU2 : public CParUniversal {
public:
    CParTypeU2();

    std::unique_ptr<CParBase> CreateInstance() const override;
    void CopyFrom(const CParBase& src) override;
    std::string FormatValue(int32_t code, int32_t value, bool withUnit) const override;
    void SetValue(int32_t code, int32_t value, bool check) override;
    std::string GetInputUnit() const override;
    void GetInputAdjustLimits(double& low, double& high) const override;
    int32_t GetInputAdjustScale() const override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;
};
