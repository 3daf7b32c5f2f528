#pragma once

#include <string>

#include "model/hooks/notifier.h"
#include "ui/framework/ui_call_poster.h"

// Shows the model's messages to the user: whatever thread reports one, it is posted to the window the
// poster serves and shown there in a message box; while that window does not exist it is dropped.
// Installed for the model while the object lives.
class CUiNotifier : public CNotifier {
public:
    explicit CUiNotifier(CUiCallPoster poster);
    ~CUiNotifier() override;
    CUiNotifier(const CUiNotifier&) = delete;
    CUiNotifier& operator=(const CUiNotifier&) = delete;

    void ShowMessage(const std::string& text, unsigned style) override;

private:
    CUiCallPoster m_poster;
};
