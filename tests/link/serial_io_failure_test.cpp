#include "link/serial_io_failure.h"

#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>

#include <string>

#include "link/serial_io.h"
#include "platform/exception.h"
#include "support/as_user.h"
#include "support/temp_folder.h"

namespace {
// Opens `path` as an ordinary user (root drops to nobody, whom the modes below keep out as well), and
// returns the message of the failure.
std::string OpenAsUser(const std::string& path) {
    return RunAsUser(kNobodyId, kNobodyId, [&] {
        try {
            CSerialIO(CComSettings(path, "USB0")).OpenPort();
        } catch (const CException& e) {
            return std::string(e.what());
        }
        return std::string("opened");
    });
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
