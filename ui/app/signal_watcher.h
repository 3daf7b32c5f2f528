#pragma once

#include <QSocketNotifier>

#include <csignal>
#include <functional>
#include <memory>
#include <thread>

// Takes SIGTERM, SIGINT and SIGHUP on a thread of its own and turns the first into a call on the
// user-interface thread: it writes a byte into a pipe that the event loop watches. The process blocks
// them before it starts any thread (BlockTerminationSignals), so no other thread ever stops for them and
// the notice is never written beside its own update. A second of these signals, while the program is
// still answering the first, ends the process at once by that signal, after the notice raised
// (WriteSignalNotice): the first may be waiting on a silent device. A signal the process inherited as
// ignored (nohup, a script's background job) stays ignored. One watcher at a time.
class CSignalWatcher {
public:
    explicit CSignalWatcher(std::function<void()> onSignal);
    ~CSignalWatcher();
    CSignalWatcher(const CSignalWatcher&) = delete;
    CSignalWatcher& operator=(const CSignalWatcher&) = delete;

    // Blocks the three in the calling thread, which hands the mask on to every thread started from it
    // (Qt's own among them): first thing in main.
    static void BlockTerminationSignals();

    // Whether a signal has come since the watcher was made.
    bool HasFired() const;

private:
    void Wait();
    void Drain();

    int m_read = -1;
    int m_write = -1;
    sigset_t m_taken;
    std::thread m_thread;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_onSignal;
};
