#include "platform/signal_notice.h"

#include <unistd.h>

#include <array>
#include <mutex>

namespace {
struct Notice {
    std::string line;
    bool raised = false;
};

std::mutex g_mutex;
std::array<Notice, 2> g_notices;

Notice& Of(ESignalNotice notice) { return g_notices[static_cast<std::size_t>(notice)]; }
}  // namespace

void SetSignalNoticeText(ESignalNotice notice, const std::string& text) {
    std::lock_guard guard(g_mutex);
    Of(notice).line = "brimlow: " + text + "\n";
}

void RaiseSignalNotice(ESignalNotice notice, bool raised) {
    std::lock_guard guard(g_mutex);
    Of(notice).raised = raised;
}

void WriteSignalNotice() {
    std::lock_guard guard(g_mutex);
    for (const Notice& notice : g_notices) {
        if (!notice.raised) continue;
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, notice.line.data(), notice.line.size());
        return;
    }
}
