#include "link/serial_io_failure.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "link/serial_io.h"
#include "platform/exception.h"
#include "support/temp_folder.h"

namespace {
constexpr uid_t kNobody = 65534;

// Opens `path` in a child process that runs as an ordinary user (root drops to nobody, whom the
// modes below keep out as well), and returns the message of the failure.
std::string OpenAsUser(const std::string& path) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return "no pipe";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        std::string message = "opened";
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            message = "could not drop root";
        try {
            if (geteuid() != 0) CSerialIO(CComSettings(path, "USB0")).OpenPort();
        } catch (const CException& e) {
            message = e.what();
        }
        [[maybe_unused]] const ssize_t n = write(pipeFds[1], message.data(), message.size());
        _exit(0);
    }
    close(pipeFds[1]);
    std::string message;
    char buffer[512];
    for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) message.append(buffer, n);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return message;
}
}  // namespace

TEST(SerialIOFailure, PermissionDeniedNamesTheGroupThatMayUseThePortAndTheFix) {
    CTempFolder folder;
    chmod(folder.Path().c_str(), 0711);
    const std::string node = folder / "ttyUSB0";
    WriteBytes(node, "");
    struct stat st {};
    ASSERT_EQ(stat(node.c_str(), &st), 0);
    const group* owner = getgrgid(st.st_gid);
    ASSERT_NE(owner, nullptr);
    const std::string name = owner->gr_name;
    struct Case {
        mode_t mode;
        std::string message;
    } cases[] = {
        // Only the group may read and write, as with a serial adapter's node.
        {0060,
         "Communication port USB0 can not be opened. Permission denied: the port belongs to the group \"" +
             name + "\". Add your user to it (sudo usermod -aG " + name +
             " $USER), then log out and log in again."},
        // Joining the group would not help.
        {0000,
         "Communication port USB0 can not be opened. Permission denied: ask the administrator for read "
         "and write access to it."},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(chmod(node.c_str(), c.mode), 0);
        EXPECT_EQ(OpenAsUser(node), c.message) << std::oct << c.mode;
    }
}
