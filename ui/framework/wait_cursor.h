#pragma once

#include <QApplication>
#include <QCursor>

// Shows the wait cursor over the whole application for as long as the object lives: the user interface
// thread is talking to the device and takes no input until it is done.
class CWaitCursor {
public:
    CWaitCursor() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~CWaitCursor() { QApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};
