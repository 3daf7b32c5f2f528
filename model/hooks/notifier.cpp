#include "model/hooks/notifier.h"

#include <mutex>

namespace {
// Held while a message is handed over, so that a notifier being uninstalled is never called after
// InstallNotifier returns.
std::mutex g_lock;
CNotifier* g_notifier = nullptr;
}  // namespace

void InstallNotifier(CNotifier* notifier) {
    std::lock_guard<std::mutex> lock(g_lock);
    g_notifier = notifier;
}

void NotifyUser(const std::string& text, unsigned style) {
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_notifier) g_notifier->ShowMessage(text, style);
}
