#pragma once

#include "link/observer.h"
#include "ui/framework/in_place_editors.h"

// The text editor of a parameter list: tells its observers how each showing ended.
class CEditText : public CInPlaceTextEdit, public CObservable {
    Q_OBJECT

public:
    using CInPlaceTextEdit::CInPlaceTextEdit;

    bool IsAccepted() const { return m_accepted; }
    int GetNavigation() const { return m_navigation; }

protected:
    void OnAccepted(int navigation) override;
    void OnCancelled() override;

private:
    bool m_accepted = false;
    int m_navigation = kStay;
};
