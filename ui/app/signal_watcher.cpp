#include "ui/app/signal_watcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>

#include "platform/signal_notice.h"

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t g_writeFd = -1;
volatile std::sig_atomic_t g_fired = 0;

extern "C" void OnTerminationSignal(int signal) {
    if (g_fired != 0) {
        // Whoever sends a second one will not wait: the signal's own action, once this returns.
        WriteSignalNotice();
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        sigemptyset(&fallback.sa_mask);
        sigaction(signal, &fallback, nullptr);
        raise(signal);
        return;
    }
    g_fired = 1;
    const int saved = errno;
    const char byte = 1;
    // A full pipe already carries a wake-up; the byte may be dropped.
    [[maybe_unused]] const ssize_t written = write(g_writeFd, &byte, 1);
    errno = saved;
}

}  // namespace

CSignalWatcher::CSignalWatcher(std::function<void()> onSignal) : m_onSignal(std::move(onSignal)) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    m_read = fds[0];
    m_write = fds[1];
    g_writeFd = m_write;
    g_fired = 0;
    m_notifier = std::make_unique<QSocketNotifier>(m_read, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Drain(); });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    // The three share one handler and its state: none of them interrupts another.
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) {
        Installed installed{signal, {}};
        if (sigaction(signal, nullptr, &installed.previous) != 0) continue;
        // Only the default action is replaced: an ignored signal was meant to be ignored.
        const bool byDefault = (installed.previous.sa_flags & SA_SIGINFO) == 0 &&
                               installed.previous.sa_handler == SIG_DFL;
        if (!byDefault) continue;
        if (sigaction(signal, &action, nullptr) == 0) m_installed.push_back(installed);
    }
}

CSignalWatcher::~CSignalWatcher() {
    for (const Installed& installed : m_installed) sigaction(installed.signal, &installed.previous, nullptr);
    g_writeFd = -1;
    m_notifier.reset();
    close(m_read);
    close(m_write);
}

bool CSignalWatcher::HasFired() const { return g_fired != 0; }

void CSignalWatcher::Drain() {
    std::array<char, 64> bytes;
    bool any = false;
    while (read(m_read, bytes.data(), bytes.size()) > 0) any = true;
    if (any && m_onSignal) m_onSignal();
}
