#pragma once

#include <QSocketNotifier>

#include <csignal>
#include <functional>
#include <memory>
#include <vector>

// Turns SIGTERM, SIGINT and SIGHUP into a call on the user-interface thread: the handler only writes a
// byte into a pipe that the event loop watches. A second of these signals, while the program is still
// answering the first, ends the process at once (after the line set with SetSignalNotice, if any): the
// first may be waiting on a silent device. A signal the process inherited as ignored (nohup, a script's
// background job) stays ignored. Destruction puts back what each signal did before. One watcher at a
// time.
class CSignalWatcher {
public:
    explicit CSignalWatcher(std::function<void()> onSignal);
    ~CSignalWatcher();
    CSignalWatcher(const CSignalWatcher&) = delete;
    CSignalWatcher& operator=(const CSignalWatcher&) = delete;

    // Whether a signal has come since the watcher was made.
    bool HasFired() const;

private:
    struct Installed {
        int signal;
        struct sigaction previous;
    };

    void Drain();

    int m_read = -1;
    int m_write = -1;
    std::vector<Installed> m_installed;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_onSignal;
};
