#pragma once

#include <functional>
#include <memory>
#include <mutex>

class QObject;

// Hands calls from any thread to the user-interface thread, to be run there in posting order while the
// window they were meant for still exists. Copies share one target; once the window is gone, further
// posts and those still queued are dropped.
class CUiCallPoster {
public:
    CUiCallPoster();

    // Called on the user-interface thread when the window exists / is about to go.
    void Attach(QObject* window);
    void Detach();

    // Safe from any thread. Returns false when the call was dropped at once.
    bool Post(std::function<void()> call) const;

private:
    struct Target {
        std::mutex lock;
        QObject* window = nullptr;
    };
    std::shared_ptr<Target> m_target;
};
