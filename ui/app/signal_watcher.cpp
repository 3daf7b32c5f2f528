#include "ui/app/signal_watcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <system_error>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

volatile std::sig_atomic_t g_writeFd = -1;

extern "C" void OnTerminationSignal(int) {
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
    m_notifier = std::make_unique<QSocketNotifier>(m_read, QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Drain(); });
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

CSignalWatcher::~CSignalWatcher() {
    for (int signal : kSignals) std::signal(signal, SIG_DFL);
    g_writeFd = -1;
    m_notifier.reset();
    close(m_read);
    close(m_write);
}

void CSignalWatcher::Drain() {
    std::array<char, 64> bytes;
    bool any = false;
    while (read(m_read, bytes.data(), bytes.size()) > 0) any = true;
    if (any && m_onSignal) m_onSignal();
}
