#include "platform/signal_notice.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>

namespace {
std::array<char, 1024> g_line;
volatile std::sig_atomic_t g_length = 0;
}  // namespace

void SetSignalNotice(const std::string& text) {
    // A handler that runs meanwhile sees no line rather than half of one.
    g_length = 0;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    const std::string line = "brimlow: " + text;
    const std::size_t n = std::min(line.size(), g_line.size() - 1);
    std::copy_n(line.begin(), n, g_line.begin());
    g_line[n] = '\n';
    std::atomic_signal_fence(std::memory_order_seq_cst);
    g_length = static_cast<std::sig_atomic_t>(n + 1);
}

void ClearSignalNotice() { g_length = 0; }

void WriteSignalNotice() {
    const std::sig_atomic_t n = g_length;
    std::atomic_signal_fence(std::memory_order_seq_cst);
    if (n <= 0) return;
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, g_line.data(), static_cast<std::size_t>(n));
}
