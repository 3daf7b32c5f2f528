#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace {

// Puts an environment variable back as it was.
class CEnvRestore {
public:
    explicit CEnvRestore(const char* name) : m_name(name) {
        if (const char* v = std::getenv(name)) m_old = v;
    }
    ~CEnvRestore() {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

}  // namespace

TEST(Profile, DefaultsUntilWrittenThenFolderFileAndSecondProcess) {
    CEnvRestore xdg("XDG_CONFIG_HOME");
    CEnvRestore home("HOME");
    CTempFolder dir;
    setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
    EXPECT_EQ(ProfilePath(), dir / "config/Orvesk/brimlow.ini");
    EXPECT_EQ(GetProfileString("ComSettings", "COMPortName", "/dev/ttyS0"), "/dev/ttyS0");
    EXPECT_EQ(GetProfileInt("Lang", "Number", 7), 7);

    ASSERT_TRUE(WriteProfileString("ComSettings", "COMPortName", "/dev/ttyUSB0"));
    ASSERT_TRUE(WriteProfileInt("Lang", "Number", -3));
    EXPECT_EQ(ReadBytes(ProfilePath()),
              "[ComSettings]\r\nCOMPortName=/dev/ttyUSB0\r\n[Lang]\r\nNumber=-3\r\n");
    EXPECT_EQ(GetProfileInt("ComSettings", "COMPortName", 7), 7);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(GetProfileInt("Lang", "Number", 0) == -3 ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // A file where the company folder should be: nothing can be written, and nothing is pretended.
    WriteBytes(dir / "blocked", "");
    setenv("XDG_CONFIG_HOME", (dir / "blocked").c_str(), 1);
    EXPECT_FALSE(WriteProfileString("S", "K", "v"));

    // A relative XDG_CONFIG_HOME is ignored in favour of ~/.config.
    setenv("XDG_CONFIG_HOME", "relative", 1);
    setenv("HOME", dir.Path().c_str(), 1);
    EXPECT_EQ(ProfilePath(), dir / ".config/Orvesk/brimlow.ini");
}
