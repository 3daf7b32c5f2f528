#pragma once

#include <QPointer>

#include <string>

#include "res/dialogs/dialog_143_ids.h"
#include "ui/controls/meter.h"
#include "ui/framework/dialog.h"

// A page holding one bar meter; the owner gives range and value as numbers or texts.
class CMeterPage : public CDialog, public Dialog143Ids {
public:
    // The meter shows nothing but its background until the first range is set.
    CMeterPage() : CDialog(143) {}

    // The meter shows min..max of the two, widened to at least 0.0001.
    void SetRange(double lo, double hi);
    // Texts without a number give 0 for lo and lo + 100 for hi.
    void SetRangeText(const std::string& lo, const std::string& hi);
    // The number at the start is the value; a text with a comma after its first character is shown as
    // two lines split there, any other text as the second line. A text without a number shows no bar.
    void SetValue(const std::string& text);

    // Null while the page has no window.
    CMeter* GetMeter() const { return m_meter; }

protected:
    bool OnInitDialog() override;
    // Enter and Esc belong to the dialog the page stands in.
    void OnOK() override {}
    void OnCancel() override {}

private:
    QPointer<CMeter> m_meter;
};
