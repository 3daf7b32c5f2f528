#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
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

// The superuser may write any file, so the refusal is tried by an ordinary user: a child process that
// has become "nobody" (or the test's own user when it is not the superuser). The folder is open to
// everybody, so the rename the save ends in would succeed; only the check stops it.
TEST(AtomicFile, FileTheUserMayNotWriteIsLeftAlone) {
    CTempFolder dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    const bool root = geteuid() == 0;
    constexpr uid_t kNobody = 65534;
    struct Case {
        const char* name;
        bool ownedByUser;  // the child's; else the superuser's, which the child is not
        mode_t mode;
        WriteFileResult expected;
    } cases[] = {
        {"read-only file of the user", true, 0444, WriteFileResult::kNotWritable},
        {"another user's file", false, 0644, WriteFileResult::kNotWritable},
        {"the user's own file", true, 0644, WriteFileResult::kOk},
    };
    for (const auto& c : cases) {
        if (!c.ownedByUser && !root) continue;
        const std::string path = dir / "f.cfg";
        WriteBytes(path, "old");
        if (c.ownedByUser && root) {
            ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
        }
        ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (root && (setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(100);
            _exit(static_cast<int>(WriteFileAtomic(path, "new")));
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << c.name;
        EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(c.expected)) << c.name;
        EXPECT_EQ(ReadBytes(path), c.expected == WriteFileResult::kOk ? "new" : "old") << c.name;
        EXPECT_EQ(dir.Names(), (std::set<std::string>{"f.cfg"})) << c.name;
        std::filesystem::remove(path);
    }
}
