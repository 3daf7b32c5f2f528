#include "ui/app/signal_watcher.h"

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <system_error>

#include "platform/signal_notice.h"

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

std::atomic<bool> g_fired = false;
std::atomic<bool> g_stopping = false;

sigset_t TerminationSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kSignals) sigaddset(&set, signal);
    return set;
}

// Ends the process by `signal` itself, as if nobody had taken it.
[[noreturn]] void EndBy(int signal) {
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    sigset_t one;
    sigemptyset(&one);
    sigaddset(&one, signal);
    // Pending on this thread until it is unblocked here, where its default action ends the process.
    raise(signal);
    pthread_sigmask(SIG_UNBLOCK, &one, nullptr);
    _exit(128 + signal);
}

}  // namespace

void CSignalWatcher::BlockTerminationSignals() {
    const sigset_t set = TerminationSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

CSignalWatcher::CSignalWatcher(std::function<void()> onSignal) : m_onSignal(std::move(onSignal)) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    m_read = fds[0];
    m_write = fds[1];
    g_fired = false;
    g_stopping = false;
    m_notifier = std::make_unique<QSocketNotifier>(m_read, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Drain(); });
    sigemptyset(&m_taken);
    for (int signal : kSignals) {
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) != 0) continue;
        // Only a signal left at its default action is taken: an ignored one was meant to be ignored.
        if ((previous.sa_flags & SA_SIGINFO) == 0 && previous.sa_handler == SIG_DFL)
            sigaddset(&m_taken, signal);
    }
    BlockTerminationSignals();
    m_thread = std::thread([this] { Wait(); });
}

CSignalWatcher::~CSignalWatcher() {
    g_stopping = true;
    pthread_kill(m_thread.native_handle(), SIGTERM);
    m_thread.join();
    m_notifier.reset();
    close(m_read);
    close(m_write);
}

bool CSignalWatcher::HasFired() const { return g_fired; }

void CSignalWatcher::Wait() {
    // The watcher's own wake-up at its end comes as SIGTERM to this thread, taken or not.
    sigset_t waited = m_taken;
    sigaddset(&waited, SIGTERM);
    for (;;) {
        int signal = 0;
        if (sigwait(&waited, &signal) != 0) continue;
        if (g_stopping) return;
        if (!sigismember(&m_taken, signal)) continue;
        if (g_fired.exchange(true)) {
            // Whoever sends a second one will not wait.
            WriteSignalNotice();
            EndBy(signal);
        }
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = write(m_write, &byte, 1);
    }
}

void CSignalWatcher::Drain() {
    std::array<char, 64> bytes;
    bool any = false;
    while (read(m_read, bytes.data(), bytes.size()) > 0) any = true;
    if (any && m_onSignal) m_onSignal();
}
