#include "ui/framework/ui_call_poster.h"

#include <QMetaObject>
#include <QObject>

#include "ui/framework/handler_guard.h"

CUiCallPoster::CUiCallPoster() : m_target(std::make_shared<Target>()) {}

void CUiCallPoster::Attach(QObject* window) {
    const std::lock_guard<std::mutex> hold(m_target->lock);
    m_target->window = window;
}

void CUiCallPoster::Detach() {
    const std::lock_guard<std::mutex> hold(m_target->lock);
    m_target->window = nullptr;
}

bool CUiCallPoster::Post(std::function<void()> call) const {
    const std::lock_guard<std::mutex> hold(m_target->lock);
    if (!m_target->window) return false;
    // Qt discards events queued for an object when it is destroyed; a window taken down with its
    // deletion deferred is detached first, so a call still queued for it is dropped when it comes up.
    QObject* window = m_target->window;
    QMetaObject::invokeMethod(
        window,
        [target = m_target, window, call = std::move(call)] {
            {
                const std::lock_guard<std::mutex> current(target->lock);
                if (target->window != window) return;
            }
            CallGuarded(call);
        },
        Qt::QueuedConnection);
    return true;
}
