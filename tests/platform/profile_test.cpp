#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
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

// A profile that is there but cannot be read gives the defaults and is never written over, not even
// when it could be: its settings may come back (a drive mounted again, the link mended).
TEST(Profile, UnreadableProfileIsSaidSoAndLeftAlone) {
    CEnvRestore xdg("XDG_CONFIG_HOME");
    CTempFolder dir;
    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
    } cases[] = {
        {"link to a file not there",
         [&](const std::string& p) { symlink((dir / "gone.ini").c_str(), p.c_str()); }},
        {"a folder", [](const std::string& p) { std::filesystem::create_directory(p); }},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string home = dir / std::to_string(n++);
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        std::filesystem::create_directories(home + "/Orvesk");
        c.make(ProfilePath());
        EXPECT_FALSE(ProfileUnreadable()) << c.name;
        EXPECT_EQ(GetProfileInt("Settings", "DeviceId", 2), 2) << c.name;
        EXPECT_TRUE(ProfileUnreadable()) << c.name;
        EXPECT_FALSE(WriteProfileInt("Settings", "DeviceId", 5)) << c.name;
        EXPECT_EQ(
            std::filesystem::symlink_status(ProfilePath()).type() == std::filesystem::file_type::symlink,
            n == 1)
            << c.name;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "gone.ini"));
    // Another profile is not affected.
    setenv("XDG_CONFIG_HOME", (dir / "fresh").c_str(), 1);
    EXPECT_FALSE(ProfileUnreadable());
    EXPECT_TRUE(WriteProfileInt("Settings", "DeviceId", 5));
}
