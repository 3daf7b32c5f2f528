#pragma once

#include "model/thermocouple/par_two_tc.h"

// The universal model measuring two thermocouples and putting out their average: type id 9, model code
// "K9U5".
class CParTypeU5 : public CParTwoTc {
public:
    CParTypeU5();

    std::unique_ptr<CParBase> CreateInstance() const override;
    void CopyFrom(const CParBase& src) override;
};
