#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "temp_folder.h"

TEST(AtomicFile, ReplacesContentKeepsModeAndLeavesNoTemporary) {
    CTempFolder dir;
    const std::string path = dir / "a.cfg";
    ASSERT_EQ(WriteFileAtomic(path, "first\r\n"), WriteFileResult::kOk);
    EXPECT_EQ(ReadBytes(path), "first\r\n");

    chmod(path.c_str(), 0640);
    const std::string big(200000, 'x');
    ASSERT_EQ(WriteFileAtomic(path, big), WriteFileResult::kOk);
    EXPECT_EQ(ReadBytes(path), big);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.List(), std::vector<std::string>{"a.cfg"});
}

TEST(AtomicFile, FollowsSymbolicLinkToReplaceItsTarget) {
    CTempFolder dir;
    WriteBytes(dir / "real.cfg", "old");
    ASSERT_EQ(symlink((dir / "real.cfg").c_str(), (dir / "link.cfg").c_str()), 0);
    ASSERT_EQ(WriteFileAtomic(dir / "link.cfg", "new"), WriteFileResult::kOk);
    EXPECT_EQ(ReadBytes(dir / "real.cfg"), "new");
    struct stat st;
    ASSERT_EQ(lstat((dir / "link.cfg").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(AtomicFile, NameAtTheLengthLimitCanBeSaved) {
    CTempFolder dir;
    const std::string path = dir / std::string(250, 'n');
    WriteBytes(path, "old");
    EXPECT_EQ(WriteFileAtomic(path, "new"), WriteFileResult::kOk);
    EXPECT_EQ(ReadBytes(path), "new");
}

TEST(AtomicFile, FailureKeepsTheOldFileAndRemovesTheTemporary) {
    CTempFolder dir;
    WriteBytes(dir / "old.cfg", "old content\r\n");
    WriteBytes(dir / "plain", "x");
    mkdir((dir / "folder").c_str(), 0700);
    WriteBytes(dir / "folder" + "/inner", "keep");

    struct Case {
        const char* name;
        std::string target;
        WriteFileResult expected;
    } cases[] = {
        {"vanished folder", dir / "gone/a.cfg", WriteFileResult::kOpenFailed},
        {"folder is a file", dir / "plain/a.cfg", WriteFileResult::kOpenFailed},
        {"target is a folder", dir / "folder", WriteFileResult::kWriteFailed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WriteFileAtomic(c.target, "data"), c.expected) << c.name;
    }
    {
        CFileSizeLimit limit(4096);
        EXPECT_EQ(WriteFileAtomic(dir / "old.cfg", std::string(10000, 'y')), WriteFileResult::kWriteFailed);
    }
    EXPECT_EQ(ReadBytes(dir / "old.cfg"), "old content\r\n");
    EXPECT_EQ(ReadBytes(dir / "plain"), "x");
    EXPECT_EQ(ReadBytes(dir / "folder" + "/inner"), "keep");
    EXPECT_EQ(dir.List(), (std::vector<std::string>{"folder", "old.cfg", "plain"}));
}

TEST(AtomicFile, ReadOnlyFolderKeepsTheOldFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    CTempFolder dir;
    WriteBytes(dir / "old.cfg", "old");
    chmod(dir.Path().c_str(), 0500);
    EXPECT_EQ(WriteFileAtomic(dir / "old.cfg", "new"), WriteFileResult::kOpenFailed);
    chmod(dir.Path().c_str(), 0700);
    EXPECT_EQ(ReadBytes(dir / "old.cfg"), "old");
}

TEST(AtomicFile, ReadWholeFileTellsMissingFromUnreadable) {
    CTempFolder dir;
    WriteBytes(dir / "a", std::string("a\0b\x1a", 4));
    std::string content = "untouched";
    EXPECT_EQ(ReadWholeFile(dir / "missing", content), ReadFileResult::kMissing);
    EXPECT_EQ(ReadWholeFile(dir.Path(), content), ReadFileResult::kFailed);
    EXPECT_EQ(content, "untouched");
    EXPECT_EQ(ReadWholeFile(dir / "a", content), ReadFileResult::kOk);
    EXPECT_EQ(content, std::string("a\0b\x1a", 4));
}
