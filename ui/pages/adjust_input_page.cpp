#include "ui/pages/adjust_input_page.h"

#include <QSlider>
#include <QWidget>

#include "model/device/device_interface.h"
#include "platform/c_number.h"

namespace {
constexpr double kZeroScale = 100.0;
constexpr double kSpanScale = 10000.0;
constexpr int kSpanLow = 9500;
constexpr int kSpanHigh = 10500;
constexpr int kOutputZeroLimit = 500;

bool IsZero(std::size_t slider) { return slider == 0 || slider == 2; }
}  // namespace

CAdjustInputPage::CAdjustInputPage() : CDialog(130) {
    for (std::size_t i = 0; i < kSliders.size(); ++i) {
        MapScroll(kSliders[i], [this, i](int code, int) { OnScroll(i, code); });
    }
    MapClicked(kResetInput, [this] { OnBnClickedResetInput(); });
    MapClicked(kResetOutput, [this] { OnBnClickedResetOutput(); });
    MapClicked(kChannel1, [this] { OnChannel(0); });
    MapClicked(kChannel2, [this] { OnChannel(1); });
}

bool CAdjustInputPage::OnInitDialog() {
    auto* inputZero = GetDlgItemAs<QSlider>(kInputZero);
    inputZero->setRange(SnapTrunc(m_record.inputZeroLow * kZeroScale),
                        SnapTrunc(m_record.inputZeroHigh * kZeroScale));
    inputZero->setSingleStep(1);
    inputZero->setPageStep(100);
    inputZero->setValue(0);
    auto* inputSpan = GetDlgItemAs<QSlider>(kInputSpan);
    inputSpan->setRange(kSpanLow, kSpanHigh);
    inputSpan->setPageStep(1);
    inputSpan->setValue(static_cast<int>(kSpanScale));
    auto* outputZero = GetDlgItemAs<QSlider>(kOutputZero);
    outputZero->setRange(-kOutputZeroLimit, kOutputZeroLimit);
    outputZero->setPageStep(1);
    outputZero->setValue(0);
    auto* outputSpan = GetDlgItemAs<QSlider>(kOutputSpan);
    outputSpan->setRange(kSpanLow, kSpanHigh);
    outputSpan->setPageStep(1);
    outputSpan->setValue(static_cast<int>(kSpanScale));
    UpdateAllLabels();
    CheckRadioButton(kChannel1, kChannel2, kChannel1);
    m_channel = 0;
    return true;
}

bool CAdjustInputPage::UpdateLabel(std::size_t slider) {
    const int id = kSliders[slider];
    const auto* control = GetDlgItemAs<QSlider>(id);
    if (!control) return false;
    const double value = control->value() / (IsZero(slider) ? kZeroScale : kSpanScale);
    double* field = nullptr;
    switch (slider) {
        case 0: field = &m_record.inputZero[static_cast<std::size_t>(m_channel)]; break;
        case 1: field = &m_record.inputSpan[static_cast<std::size_t>(m_channel)]; break;
        case 2: field = &m_record.outputZero; break;
        default: field = &m_record.outputSpan; break;
    }
    const bool changed = *field != value;
    *field = value;
    const int label = kLabels[slider];
    if (slider == 0) {
        SetDlgItemText(label, FormatC("%+.2lf%s", value, m_record.inputUnit.c_str()));
    } else if (slider == 2) {
        SetDlgItemText(label, FormatC("%+.2lf%s", value, m_record.outputUnit.c_str()));
    } else {
        SetDlgItemText(label, FormatC("%.4lf", value));
    }
    return changed;
}

void CAdjustInputPage::UpdateAllLabels() {
    for (std::size_t i = 0; i < kSliders.size(); ++i) UpdateLabel(i);
}

// Positions are counts of the shown resolution; a value that is a whole count but a hair below it in
// binary (0.29 x 100) still lands on that count.
void CAdjustInputPage::SetPosition(int id, double value, double scale) {
    if (auto* slider = GetDlgItemAs<QSlider>(id)) slider->setValue(SnapTrunc(value * scale));
}

void CAdjustInputPage::OnScroll(std::size_t slider, int code) {
    if (code == TB_THUMBTRACK) {
        UpdateLabel(slider);
        m_dragged[slider] = true;
    } else if (code == TB_ENDTRACK) {
        if (UpdateLabel(slider) || m_dragged[slider]) {
            m_dragged[slider] = false;
            SendAdjustment();
        }
    }
}

void CAdjustInputPage::OnBnClickedResetInput() {
    SetPosition(kInputZero, 0.0, kZeroScale);
    SetPosition(kInputSpan, 1.0, kSpanScale);
    UpdateLabel(0);
    UpdateLabel(1);
    SendAdjustment();
}

void CAdjustInputPage::OnBnClickedResetOutput() {
    SetPosition(kOutputZero, 0.0, kZeroScale);
    SetPosition(kOutputSpan, 1.0, kSpanScale);
    UpdateLabel(2);
    UpdateLabel(3);
    SendAdjustment();
}

// The input sliders show the chosen channel's values of the record at once, so that a write before the
// next poll cannot carry the other channel's positions into this channel.
void CAdjustInputPage::OnChannel(int channel) {
    m_channel = channel;
    ShowInputSliders();
}

void CAdjustInputPage::ShowInputSliders() {
    const auto channel = static_cast<std::size_t>(m_channel);
    if (!m_dragged[0]) SetPosition(kInputZero, m_record.inputZero[channel], kZeroScale);
    UpdateLabel(0);
    if (!m_dragged[1]) SetPosition(kInputSpan, m_record.inputSpan[channel], kSpanScale);
    UpdateLabel(1);
}

void CAdjustInputPage::UpdateFromDevice(const CAdjustInfo& info, CDeviceInterface* devif) {
    const bool inputShown = !m_record.inputAdjustUnavailable;
    for (int id :
         {kInputZeroLabel, kInputSpanLabel, kInputZeroValue, kInputSpanValue, kInputGroup, kResetInput}) {
        ShowDlgItem(id, inputShown);
    }
    // The interface handed now is the one whose flag counts; one kept from an earlier poll thread may
    // be gone.
    m_devif = devif;
    if (devif != nullptr && devif->IsAdjustWritePending()) return;

    m_record = info;
    if (!m_record.inputAdjustUnavailable) {
        if (auto* inputZero = GetDlgItemAs<QSlider>(kInputZero)) {
            inputZero->setRange(SnapTrunc(m_record.inputZeroLow * kZeroScale),
                                SnapTrunc(m_record.inputZeroHigh * kZeroScale));
        }
        ShowInputSliders();
    }
    if (!m_dragged[2]) SetPosition(kOutputZero, m_record.outputZero, kZeroScale);
    if (!m_dragged[3]) SetPosition(kOutputSpan, m_record.outputSpan, kSpanScale);
    UpdateLabel(2);
    UpdateLabel(3);

    const bool enabled = GetWindow() != nullptr && GetWindow()->isEnabled();
    for (int id : kAdjustControls) EnableDlgItem(id, enabled);
    ShowDlgItem(kInputZero, !m_record.inputAdjustUnavailable);
    ShowDlgItem(kInputSpan, !m_record.inputAdjustUnavailable);
    ShowDlgItem(kChannel1, m_record.channelCount == 2);
    ShowDlgItem(kChannel2, m_record.channelCount == 2);
}

void CAdjustInputPage::SendAdjustment() {
    CDeviceInterface* devif = m_devif;
    UpdateAllLabels();
    if (devif == nullptr) return;
    devif->SetAdjustWritePending(true);
    for (int id : kAdjustControls) EnableDlgItem(id, false);
    try {
        devif->WriteAdjust(m_record);
    } catch (...) {
        // The page must not stay locked: the next poll update takes the device's values and enables
        // the controls again; the failure is reported on the way out.
        devif->SetAdjustWritePending(false);
        throw;
    }
}
