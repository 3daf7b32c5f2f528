#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_folder.h"

namespace {

// Points the profile at a fresh folder for one test.
class ProfileTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) m_old = old;
        setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
    }
    void TearDown() override {
        if (m_old.empty())
            unsetenv("XDG_CONFIG_HOME");
        else
            setenv("XDG_CONFIG_HOME", m_old.c_str(), 1);
    }

    CTempFolder m_dir;
    std::string m_old;
};

}  // namespace

TEST_F(ProfileTest, MissingFileGivesDefaultsAndWriteCreatesFolderAndFile) {
    EXPECT_EQ(ProfilePath(), m_dir / "config/Orvesk/brimlow.ini");
    EXPECT_EQ(GetProfileString("ComSettings", "COMPortName", "/dev/ttyS0"), "/dev/ttyS0");
    EXPECT_EQ(GetProfileInt("Lang", "Number", 7), 7);

    ASSERT_TRUE(WriteProfileString("ComSettings", "COMPortName", "/dev/ttyUSB0"));
    ASSERT_TRUE(WriteProfileInt("Lang", "Number", -3));
    ASSERT_TRUE(WriteProfileString("ComSettings", "COMPortDisplayName", "USB serial"));
    EXPECT_EQ(ReadBytes(ProfilePath()),
              "[ComSettings]\r\nCOMPortName=/dev/ttyUSB0\r\nCOMPortDisplayName=USB serial\r\n"
              "[Lang]\r\nNumber=-3\r\n");
    EXPECT_EQ(GetProfileInt("Lang", "Number", 7), -3);
    EXPECT_EQ(GetProfileInt("ComSettings", "COMPortName", 7), 7);
}

TEST_F(ProfileTest, SecondProcessReadsWhatWasWritten) {
    ASSERT_TRUE(WriteProfileInt("Settings", "DeviceId", 42));
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(GetProfileInt("Settings", "DeviceId", 0) == 42 ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(ProfileTest, FallsBackToHomeConfigAndReportsAnUnwritableProfile) {
    setenv("XDG_CONFIG_HOME", "relative/dir", 1);
    const char* home = std::getenv("HOME");
    const std::string oldHome = home ? home : "";
    setenv("HOME", m_dir.Path().c_str(), 1);
    EXPECT_EQ(ProfilePath(), m_dir / ".config/Orvesk/brimlow.ini");
    EXPECT_TRUE(WriteProfileString("S", "K", "v"));
    EXPECT_EQ(GetProfileString("S", "K", ""), "v");

    // A file where the company folder should be: nothing can be written, and nothing is pretended.
    WriteBytes(m_dir / "blocked", "");
    setenv("XDG_CONFIG_HOME", (m_dir / "blocked").c_str(), 1);
    EXPECT_FALSE(WriteProfileString("S", "K", "v"));
    setenv("HOME", oldHome.c_str(), 1);
}
