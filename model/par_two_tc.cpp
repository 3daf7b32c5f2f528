#include "model/par_two_tc.h"

#include "platform/c_number.h"
#include "platform/resource_module.h"

namespace {

constexpr unsigned kUnitMillivolt = 11004;

}  // namespace

CParTwoTc::CParTwoTc(int32_t typeId, const char* modelCode, const ParDef* table) : CParTypeT(typeId) {
    SetTypeId(typeId);
    SetModelCode(modelCode);
    m_model = "K9U";
    SetDefTable(table);
}

void CParTwoTc::CopySecondInput(const CParTwoTc& src) {
    m_input2FineZero = src.m_input2FineZero;
    m_input2FineSpan = src.m_input2FineSpan;
}

int32_t CParTwoTc::GetValue(int32_t code) const {
    switch (code) {
        case kInput2FineZero: return m_input2FineZero;
        case kInput2FineSpan: return m_input2FineSpan;
        default: return CParTypeT::GetValue(code);
    }
}

void CParTwoTc::SetValue(int32_t code, int32_t value, bool check) {
    switch (code) {
        case kInput2FineZero:
            if (check) {
                double low = 0.0;
                double high = 0.0;
                GetInputAdjustLimits(low, high);
                CheckRange(code, value, ToInt32Trunc(low * 10000.0), ToInt32Trunc(high * 10000.0));
            }
            m_input2FineZero = value;
            return;
        case kInput2FineSpan:
            if (check) CheckRange(code, value, 9500, 10500);
            m_input2FineSpan = value;
            return;
        default: CParTypeT::SetValue(code, value, check); return;
    }
}

std::string CParTwoTc::FormatRawValue(int32_t code, int32_t value) const {
    switch (code) {
        case kInput2FineZero:
        case kInput2FineSpan:
        case kTc1Voltage:
        case kTc2Voltage:
            return FormatC("%.4lf", value / 10000.0);
        default: return CParTypeT::FormatRawValue(code, value);
    }
}

std::string CParTwoTc::GetValueString(int32_t code) const {
    switch (code) {
        case kInput2FineZero: return FormatRawValue(code, m_input2FineZero);
        case kInput2FineSpan: return FormatRawValue(code, m_input2FineSpan);
        case kTc1Voltage: return FormatRawValue(code, m_tc1Voltage);
        case kTc2Voltage: return FormatRawValue(code, m_tc2Voltage);
        default: return CParTypeT::GetValueString(code);
    }
}

std::string CParTwoTc::FormatValue(int32_t code, int32_t value, bool withUnit) const {
    const std::string millivolt = LoadString(kUnitMillivolt);
    switch (code) {
        case kInput2FineZero: {
            std::string text = FormatC("%.4lf", value / 10000.0);
            if (!withUnit) return text;
            text = WithUnit(text, millivolt);
            return !text.empty() && text.front() == '-' ? text : "+" + text;
        }
        case kInput2FineSpan: return FormatC("%.4lf", value / 10000.0);
        case kTc1Voltage:
        case kTc2Voltage: {
            // The stored voltage, not `value`: these rows show the last monitor read.
            const std::string text = GetValueString(code);
            return withUnit ? WithUnit(text, millivolt) : text;
        }
        default: return CParTypeT::FormatValue(code, value, withUnit);
    }
}
