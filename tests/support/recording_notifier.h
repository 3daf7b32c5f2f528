#pragma once

#include <string>
#include <vector>

#include "model/hooks/notifier.h"

// Installed as the model's notifier while it lives; keeps every message the model shows, in order.
class CRecordingNotifier : public CNotifier {
public:
    CRecordingNotifier() { InstallNotifier(this); }
    ~CRecordingNotifier() override { InstallNotifier(nullptr); }
    void ShowMessage(const std::string& text, unsigned) override { messages.push_back(text); }
    std::vector<std::string> messages;
};
