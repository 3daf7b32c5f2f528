#pragma once

#include "link/observer.h"
#include "ui/framework/dialog.h"

// A dialog any thread may notify: the notification only posts a call, and OnUpdateObserver runs on the
// user-interface thread in posting order, while the window exists.
class CObserverDialog : public CDialog, public CObserver {
public:
    using CDialog::CDialog;

    void Update(CObservable* source) override {
        PostCall([this, source] { OnUpdateObserver(source); });
    }

protected:
    virtual void OnUpdateObserver(CObservable* source) = 0;
};
