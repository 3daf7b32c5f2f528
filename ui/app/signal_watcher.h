#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

// Turns SIGTERM, SIGINT and SIGHUP into a call on the user-interface thread: the handler only writes a
// byte into a pipe that the event loop watches. While the watcher lives these signals no longer end the
// process at once; its destruction puts their default actions back. One watcher at a time.
class CSignalWatcher {
public:
    explicit CSignalWatcher(std::function<void()> onSignal);
    ~CSignalWatcher();
    CSignalWatcher(const CSignalWatcher&) = delete;
    CSignalWatcher& operator=(const CSignalWatcher&) = delete;

private:
    void Drain();

    int m_read = -1;
    int m_write = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::function<void()> m_onSignal;
};
