#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_folder.h"

TEST(AtomicFile, ReplacesTheFileKeepingModeLinkAndLongName) {
    CTempFolder dir;
    const std::string longName = dir / std::string(250, 'n');
    WriteBytes(longName, "old");
    chmod(longName.c_str(), 0640);
    ASSERT_EQ(symlink(longName.c_str(), (dir / "link").c_str()), 0);
    const std::string big(200000, 'x');
    ASSERT_EQ(WriteFileAtomic(dir / "link", big), WriteFileResult::kOk);
    EXPECT_EQ(ReadBytes(longName), big);
    struct stat st;
    ASSERT_EQ(stat(longName.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(lstat((dir / "link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"link", std::string(250, 'n')}));
}

TEST(AtomicFile, FailureKeepsTheOldFileAndRemovesTheTemporary) {
    CTempFolder dir;
    WriteBytes(dir / "old.cfg", "old content\r\n");
    WriteBytes(dir / "plain", "x");
    std::filesystem::create_directory(dir / "folder");
    struct Case {
        const char* name;
        std::string target;
        rlim_t sizeLimit;
        WriteFileResult expected;
    } cases[] = {
        {"vanished folder", dir / "gone/a.cfg", RLIM_INFINITY, WriteFileResult::kOpenFailed},
        {"folder is a file", dir / "plain/a.cfg", RLIM_INFINITY, WriteFileResult::kOpenFailed},
        {"target is a folder", dir / "folder", RLIM_INFINITY, WriteFileResult::kWriteFailed},
        {"disk full half-way", dir / "old.cfg", 4096, WriteFileResult::kWriteFailed},
    };
    for (const auto& c : cases) {
        CFileSizeLimit limit(c.sizeLimit);
        EXPECT_EQ(WriteFileAtomic(c.target, std::string(10000, 'y')), c.expected) << c.name;
    }
    EXPECT_EQ(ReadBytes(dir / "old.cfg"), "old content\r\n");
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"folder", "old.cfg", "plain"}));
}
