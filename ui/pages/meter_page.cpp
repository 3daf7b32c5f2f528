#include "ui/pages/meter_page.h"

#include <algorithm>

#include "platform/c_number.h"

namespace {
std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}
}  // namespace

bool CMeterPage::OnInitDialog() {
    m_meter = static_cast<CMeter*>(PlaceCustomControl(kMeter, new CMeter(nullptr)));
    return true;
}

void CMeterPage::SetRange(double lo, double hi) {
    if (!m_meter) return;
    double low = std::min(lo, hi);
    double high = std::max(lo, hi);
    if (high - low < 0.0001) high = low + 0.0001;
    m_meter->SetScale(low, high, CMeter::CalcTickStep(high - low));
}

void CMeterPage::SetRangeText(const std::string& lo, const std::string& hi) {
    const double low = ParseDouble(lo).value_or(0.0);
    SetRange(low, ParseDouble(hi).value_or(low + 100.0));
}

void CMeterPage::SetValue(const std::string& text) {
    if (!m_meter) return;
    const auto comma = text.find(',');
    if (comma != std::string::npos && comma > 0) {
        m_meter->SetTexts(Trimmed(text.substr(0, comma)).c_str(), Trimmed(text.substr(comma + 1)).c_str());
    } else {
        m_meter->SetTexts(" ", text.c_str());
    }
    m_meter->SetValue(ParseDouble(text));
}
