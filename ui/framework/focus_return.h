#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

// Disabling the focused control moves the focus on to the next control of its window, often one whose
// keys then do something else (a list that edits on Enter). Held around such a lock-out, the focus goes
// back to the control that had it once that control can take it again, unless the user has put it
// elsewhere meanwhile.
class CFocusReturn {
public:
    // Runs `disable` (which disables controls of the window of `within`), noting where the focus was
    // before and where it went.
    void Hold(const QWidget* within, const std::function<void()>& disable);
    // Gives the focus back when its control is enabled and shown again; until then it waits.
    void Restore(const QWidget* within);

private:
    QPointer<QWidget> m_before;
    QPointer<QWidget> m_during;
};
