#include "ui/pages/adjust_input_page.h"

#include <QSlider>
#include <QWidget>

#include "model/device/device_interface.h"
#include "model/set/par_type_v.h"
#include "platform/c_number.h"
#include "ui/framework/wait_cursor.h"

namespace {
// The zero sliders move in hundredths of the unit shown.
constexpr double kZeroScale = 100.0;
constexpr double kSpanScale = CParTypeV::kFineSpanScale;
constexpr int kSpanLow = CParTypeV::kFineSpanLow;
constexpr int kSpanHigh = CParTypeV::kFineSpanHigh;
constexpr int kOutputZeroLimit = CParTypeV::kOutputFineZeroLimit;
}  // namespace

CAdjustInputPage::CAdjustInputPage() : CDialog(130) {
    for (std::size_t i = 0; i < kSliders.size(); ++i) {
        MapScroll(kSliders[i], [this, i](int code, int) { OnScroll(static_cast<Slider>(i), code); });
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
    ShowAllLabels();
    CheckRadioButton(kChannel1, kChannel2, kChannel1);
    m_channel = 0;
    m_outputRise = 0;
    return true;
}

double CAdjustInputPage::Scale(Slider slider) {
    return slider == kSliderInputZero || slider == kSliderOutputZero ? kZeroScale : kSpanScale;
}

double& CAdjustInputPage::Field(Slider slider) {
    const auto channel = static_cast<std::size_t>(m_channel);
    switch (slider) {
        case kSliderInputZero: return m_record.inputZero[channel];
        case kSliderInputSpan: return m_record.inputSpan[channel];
        case kSliderOutputZero: return m_record.outputZero;
        case kSliderOutputSpan: break;
    }
    return m_record.outputSpan;
}

bool CAdjustInputPage::TakeSlider(Slider slider) {
    const auto* control = GetDlgItemAs<QSlider>(kSliders[slider]);
    if (!control) return false;
    const double value = control->value() / Scale(slider);
    double& field = Field(slider);
    const bool changed = field != value;
    field = value;
    ShowLabel(slider);
    return changed;
}

void CAdjustInputPage::ShowLabel(Slider slider) {
    const double value = Field(slider);
    const int label = kLabels[slider];
    if (slider == kSliderInputZero) {
        SetDlgItemText(label, FormatC("%+.2lf%s", value, m_record.inputUnit.c_str()));
    } else if (slider == kSliderOutputZero) {
        SetDlgItemText(label, FormatC("%+.2lf%s", value, m_record.outputUnit.c_str()));
    } else {
        SetDlgItemText(label, FormatC("%.4lf", value));
    }
}

void CAdjustInputPage::ShowAllLabels() {
    for (std::size_t i = 0; i < kSliders.size(); ++i) ShowLabel(static_cast<Slider>(i));
}

// Positions are counts of the shown resolution; a value that is a whole count but a hair below it in
// binary (0.29 x 100) still lands on that count.
void CAdjustInputPage::SetPosition(int id, double value, double scale) {
    if (auto* slider = GetDlgItemAs<QSlider>(id)) slider->setValue(SnapTrunc(value * scale));
}

void CAdjustInputPage::OnScroll(Slider slider, int code) {
    if (code == TB_THUMBTRACK) {
        TakeSlider(slider);
        m_dragged[slider] = true;
    } else if (code == TB_ENDTRACK) {
        if (TakeSlider(slider) || m_dragged[slider]) {
            m_dragged[slider] = false;
            SendAdjustment();
        }
    }
}

void CAdjustInputPage::OnBnClickedResetInput() {
    SetPosition(kInputZero, 0.0, kZeroScale);
    SetPosition(kInputSpan, 1.0, kSpanScale);
    TakeSlider(kSliderInputZero);
    TakeSlider(kSliderInputSpan);
    SendAdjustment();
}

void CAdjustInputPage::OnBnClickedResetOutput() {
    SetPosition(kOutputZero, 0.0, kZeroScale);
    SetPosition(kOutputSpan, 1.0, kSpanScale);
    TakeSlider(kSliderOutputZero);
    TakeSlider(kSliderOutputSpan);
    SendAdjustment();
}

// The input sliders show the chosen channel's values of the record at once, so that a write before the
// next poll cannot carry the other channel's positions into this channel.
void CAdjustInputPage::OnChannel(int channel) {
    m_channel = channel;
    ShowInputSliders();
}

void CAdjustInputPage::ShowInputSliders() {
    ShowSlider(kSliderInputZero);
    ShowSlider(kSliderInputSpan);
}

// A slider the user is dragging keeps its position, and the record its value; any other shows the
// record's value.
void CAdjustInputPage::ShowSlider(Slider slider) {
    if (m_dragged[slider]) {
        TakeSlider(slider);
        return;
    }
    SetPosition(kSliders[slider], Field(slider), Scale(slider));
    ShowLabel(slider);
}

void CAdjustInputPage::UpdateFromDevice(const CAdjustInfo& info, CDeviceInterface* devif) {
    // The labels follow the record shown until now, the sliders the new one: a model change shows its
    // input labels one poll later, as the device tab has always done.
    const bool inputShown = !m_record.inputAdjustUnavailable;
    for (int id :
         {kInputZeroLabel, kInputSpanLabel, kInputZeroValue, kInputSpanValue, kInputGroup, kResetInput}) {
        ShowDlgItem(id, inputShown);
    }
    // The interface handed now is the one whose flag counts; one kept from an earlier poll thread may
    // be gone.
    m_devif = devif;
    if (devif != nullptr && devif->IsAdjustWritePending()) {
        PlaceOutputGroup();
        return;
    }

    m_record = info;
    // A one-channel device shows its only channel, whatever was chosen for the one before.
    if (m_record.channelCount < 2 && m_channel != 0) {
        m_channel = 0;
        CheckRadioButton(kChannel1, kChannel2, kChannel1);
    }
    if (!m_record.inputAdjustUnavailable) {
        if (auto* inputZero = GetDlgItemAs<QSlider>(kInputZero)) {
            inputZero->setRange(SnapTrunc(m_record.inputZeroLow * kZeroScale),
                                SnapTrunc(m_record.inputZeroHigh * kZeroScale));
        }
        ShowInputSliders();
    }
    ShowSlider(kSliderOutputZero);
    ShowSlider(kSliderOutputSpan);

    const bool enabled = GetWindow() != nullptr && GetWindow()->isEnabled();
    for (int id : kAdjustControls) EnableDlgItem(id, enabled);
    ShowDlgItem(kInputZero, !m_record.inputAdjustUnavailable);
    ShowDlgItem(kInputSpan, !m_record.inputAdjustUnavailable);
    ShowDlgItem(kChannel1, m_record.channelCount == 2);
    ShowDlgItem(kChannel2, m_record.channelCount == 2);
    PlaceOutputGroup();
    m_writeFocus.Restore(GetWindow());
}

void CAdjustInputPage::PlaceOutputGroup() {
    if (!GetWindow()) return;
    const bool raise = !IsDlgItemShown(kInputGroup) && !IsDlgItemShown(kInputZero);
    const int rise = raise ? GetDlgItem(kOutputGroup)->y() + m_outputRise - GetDlgItem(kInputGroup)->y() : 0;
    const int by = rise - m_outputRise;
    m_outputRise = rise;
    for (int id : {kOutputGroup, kOutputZeroLabel, kOutputZero, kOutputZeroValue, kOutputSpanLabel,
                   kOutputSpan, kOutputSpanValue, kResetOutput}) {
        QWidget* control = GetDlgItem(id);
        control->move(control->pos() - QPoint(0, by));
    }
}

void CAdjustInputPage::SendAdjustment() {
    CDeviceInterface* devif = m_devif;
    ShowAllLabels();
    if (devif == nullptr) return;
    devif->SetAdjustWritePending(true);
    m_writeFocus.Hold(GetWindow(), [this] {
        for (int id : kAdjustControls) EnableDlgItem(id, false);
    });
    try {
        const CWaitCursor wait;
        devif->WriteAdjust(m_record);
    } catch (...) {
        // The page must not stay locked: the next poll update takes the device's values and enables
        // the controls again; the failure is reported on the way out.
        devif->SetAdjustWritePending(false);
        throw;
    }
}
