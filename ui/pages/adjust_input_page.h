#pragma once

#include <array>

#include "model/device/adjust_info.h"
#include "res/dialogs/dialog_130_ids.h"
#include "ui/framework/dialog.h"
#include "ui/framework/focus_return.h"

class CDeviceInterface;

// The device tab "Adjust.": sliders that trim the connected device's input zero and span (per channel on
// the two-input models) and its output zero and span. It shows the record each poll brings and writes
// the whole record when the user ends a slider move or presses Reset; while that write is pending it
// takes no poll values and its controls are disabled.
class CAdjustInputPage : public CDialog, public Dialog130Ids {
public:
    CAdjustInputPage();

    // After every valid poll with the poll's device interface and its record; when not online with an
    // empty record and no device interface.
    void UpdateFromDevice(const CAdjustInfo& info, CDeviceInterface* devif);

    int GetChannel() const { return m_channel; }

protected:
    bool OnInitDialog() override;

private:
    // The four sliders, indexing the control ids, the labels and the dragged flags.
    enum Slider : std::size_t { kSliderInputZero, kSliderInputSpan, kSliderOutputZero, kSliderOutputSpan };
    static constexpr std::array<int, 4> kSliders = {kInputZero, kInputSpan, kOutputZero, kOutputSpan};
    static constexpr std::array<int, 4> kLabels = {kInputZeroValue, kInputSpanValue, kOutputZeroValue,
                                                   kOutputSpanValue};
    static constexpr std::array<int, 6> kAdjustControls = {kResetInput,  kInputZero,  kInputSpan,
                                                           kResetOutput, kOutputZero, kOutputSpan};

    void OnScroll(Slider slider, int code);
    void OnBnClickedResetInput();
    void OnBnClickedResetOutput();
    void OnChannel(int channel);
    // The record's field that a slider edits, for the channel shown.
    // Slider counts per unit of the value.
    static double Scale(Slider slider);
    double& Field(Slider slider);
    // Takes the slider's value into the record and shows it; true when the record's value changed. Only
    // a slider the user moves is taken: the others keep the values as the device gave them, which a
    // slider's whole counts may not hold.
    bool TakeSlider(Slider slider);
    // Shows the record's value of a slider in its label.
    void ShowLabel(Slider slider);
    void ShowAllLabels();
    void SetPosition(int id, double value, double scale);
    void ShowInputSliders();
    void ShowSlider(Slider slider);
    void SendAdjustment();
    // Puts the output group in the input group's place while nothing of the input group is shown, and
    // back in its own place otherwise.
    void PlaceOutputGroup();

    CAdjustInfo m_record;
    int m_channel = 0;
    CDeviceInterface* m_devif = nullptr;
    std::array<bool, 4> m_dragged{};
    // How far the output group stands above its place in the template, in pixels.
    int m_outputRise = 0;
    // The write disables the control the user moved; it gets the focus back when they are enabled.
    CFocusReturn m_writeFocus;
};
