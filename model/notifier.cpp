#include "model/notifier.h"

#include <atomic>

namespace {
std::atomic<CNotifier*> g_notifier{nullptr};
}

void InstallNotifier(CNotifier* notifier) { g_notifier.store(notifier); }

void NotifyUser(const std::string& text, unsigned style) {
    if (CNotifier* notifier = g_notifier.load()) notifier->ShowMessage(text, style);
}
