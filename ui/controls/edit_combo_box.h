#pragma once

#include "link/observer.h"
#include "ui/framework/in_place_editors.h"

// The choice editor of a parameter list: tells its observers how each showing ended.
class CEditComboBox : public CInPlaceComboBox, public CObservable {
    Q_OBJECT

public:
    using CInPlaceComboBox::CInPlaceComboBox;

    bool IsAccepted() const { return m_accepted; }

protected:
    void OnAccepted() override;
    void OnCancelled() override;

private:
    bool m_accepted = false;
};
