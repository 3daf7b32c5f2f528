#pragma once

#include "model/par_type_t.h"

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

protected:
    // `typeId` and `modelCode` of the kind; `table` its definition rows.
    CParTwoTc(int32_t typeId, const char* modelCode, const ParDef* table);

    void CopySecondInput(const CParTwoTc& src);

    int32_t m_input2FineZero = 0;
    int32_t m_input2FineSpan = 10000;
    int32_t m_tc1Voltage = 0;
    int32_t m_tc2Voltage = 0;
};
