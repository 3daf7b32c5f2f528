// The real program in a process of its own against the simulated device: a termination signal in the
// middle of a download.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "ui/main/main_dialog_support.h"
#include "ui/pages/ao_test_page.h"
#include "ui/ui_test_support.h"

extern char** environ;

namespace {
constexpr int kExitWaitMs = 60000;

// Holds the device's next answer once the download has held the output, until the test lets go.
class CHoldAfterOutputHeld {
public:
    void OnRequest(const SimRequest& r) {
        std::unique_lock lock(m_mutex);
        if (r.kind == ESimRequestKind::Write && r.start == CAOTestPage::kRegOutputHold && r.values.at(0) != 0)
            m_held = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_held || m_released; });
    }
    bool WaitHeld() {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(60), [this] { return m_held; });
    }
    void Release() {
        {
            std::lock_guard lock(m_mutex);
            m_released = true;
        }
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_held = false;
    bool m_released = false;
};
}  // namespace

TEST(ProgramProcess, ATerminationSignalDuringADownloadReleasesTheOutputAndExitsCleanly) {
    CTemporaryProfile profile;
    CProfiledSim device("K9RS");
    CHoldAfterOutputHeld hold;
    device.sim.SetRequestHook([&](const SimRequest& r) { hold.OnRequest(r); });

    char* const argv[] = {const_cast<char*>(BRIMLOW_SCRIPTED_PROGRAM), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, BRIMLOW_SCRIPTED_PROGRAM, nullptr, nullptr, argv, environ), 0);
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    ASSERT_GE(pidfd, 0);

    const bool held = hold.WaitHeld();
    EXPECT_TRUE(held);
    EXPECT_NE(device.sim.GetRegister(CAOTestPage::kRegOutputHold), 0);
    ASSERT_EQ(kill(pid, SIGTERM), 0);
    hold.Release();

    pollfd ended{pidfd, POLLIN, 0};
    const bool exited = poll(&ended, 1, kExitWaitMs) == 1;
    if (!exited) kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    close(pidfd);
    device.sim.SetRequestHook(nullptr);
    ASSERT_TRUE(exited);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(device.sim.GetRegister(CAOTestPage::kRegOutputHold), 0);
}
