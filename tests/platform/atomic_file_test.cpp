#include "platform/atomic_file.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/as_user.h"
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

namespace {

mode_t ModeOf(const std::string& path) {
    return static_cast<mode_t>(std::filesystem::status(path).permissions());
}

// The permission bits the new content first stands in: a child writes with no room for a byte and ends
// at the first (SIGXFSZ), leaving its temporary file behind.
mode_t TemporaryModeBeforeFirstByte(const CTempFolder& dir, const std::string& path) {
    RunAsUser(geteuid(), getegid(), [&] {
        std::signal(SIGXFSZ, [](int) { _exit(0); });
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
        WriteFileAtomic(path, "new");
        return std::string();
    });
    for (const std::string& name : dir.Names())
        if (name.starts_with(".brimlow-")) return ModeOf(dir / name);
    return 0;
}

// `count` links in a row from "a.cfg" to "real/old.cfg".
std::vector<std::pair<std::string, std::string>> Chain(int count) {
    std::vector<std::pair<std::string, std::string>> links{{"a.cfg", "l1"}};
    for (int i = 1; i < count; ++i) links.emplace_back("l" + std::to_string(i), "l" + std::to_string(i + 1));
    links.back().second = "real/old.cfg";
    return links;
}

}  // namespace

TEST(AtomicFile, NewContentNeverStandsInAFileMoreOpenThanTheTarget) {
    const struct Case {
        const char* name;
        mode_t mode, temporary, written;  // mode 0: no file yet
    } cases[] = {
        {"private file", 0600, 0600, 0600},
        {"file the group may read", 0640, 0640, 0640},
        {"file everybody may write", 0666, 0644, 0666},
        {"new file", 0, 0644, 0644},
    };
    const mode_t oldMask = umask(022);
    for (const Case& c : cases) {
        CTempFolder dir;
        const std::string path = dir / "f.cfg";
        if (c.mode != 0) {
            WriteBytes(path, "old");
            std::filesystem::permissions(path, static_cast<std::filesystem::perms>(c.mode));
        }
        EXPECT_EQ(TemporaryModeBeforeFirstByte(dir, path), c.temporary) << c.name;
        EXPECT_EQ(WriteFileAtomic(path, "new"), WriteFileResult::kOk) << c.name;
        EXPECT_EQ(ModeOf(path), c.written) << c.name;
    }
    umask(oldMask);
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

namespace {

constexpr gid_t kKeepGroup = static_cast<gid_t>(-1);

// Writes over a file holding "old" of the given owner, group and mode as an ordinary user in a child
// process (the superuser may write any file) and checks how it ended. The folder is open to everybody,
// so the rename the save ends in would succeed; only the check stops it.
void ExpectWriteAsUser(const char* name, uid_t owner, gid_t group, mode_t mode, WriteFileResult expected) {
    CTempFolder dir;
    ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
    const std::string path = dir / "f.cfg";
    WriteBytes(path, "old");
    ASSERT_EQ(chown(path.c_str(), owner, group), 0) << name;
    ASSERT_EQ(chmod(path.c_str(), mode), 0) << name;
    EXPECT_EQ(RunAsUser(kNobodyId, kNobodyId,
                        [&] { return std::to_string(static_cast<int>(WriteFileAtomic(path, "new"))); }),
              std::to_string(static_cast<int>(expected)))
        << name;
    EXPECT_EQ(ReadBytes(path), expected == WriteFileResult::kOk ? "new" : "old") << name;
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"f.cfg"})) << name;
}

}  // namespace

TEST(AtomicFile, FileTheUserMayNotWriteIsLeftAlone) {
    ExpectWriteAsUser("read-only file of the user", ChildUserId(), kKeepGroup, 0444,
                      WriteFileResult::kNotWritable);
    ExpectWriteAsUser("the user's own file", ChildUserId(), kKeepGroup, 0644, WriteFileResult::kOk);
}

// Only the superuser can give a file to another user. Its child must give up root's groups as well:
// a file that root's group may write is another user's too.
TEST(AtomicFile, AnotherUsersFileInAFolderTheUserMayWriteIsLeftAlone) {
    if (geteuid() != 0) GTEST_SKIP() << "needs the superuser, who alone can make a file of another user";
    ExpectWriteAsUser("another user's file", 0, 0, 0644, WriteFileResult::kNotWritable);
    ExpectWriteAsUser("a file root's group may write", 0, 0, 0664, WriteFileResult::kNotWritable);
}

// A write goes through a link, or a chain of them as long as the system follows, to the file at its
// end, made there when it is missing. A link that leads to a folder that is not there (a drive not
// mounted), round in a circle, through more links or to a folder cannot be followed: it is refused and
// stays, where a rename would put a plain file in its place.
TEST(AtomicFile, LinksAreWrittenThroughOrRefusedAndLeftAsTheyAre) {
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // name in the folder, what it points to
        WriteFileResult expected;
        const char* written;  // the file at the chain's end, relative to the folder; "" when refused
    } cases[] = {
        {"link to a file not made yet", {{"a.cfg", "@/real/new.cfg"}}, WriteFileResult::kOk, "real/new.cfg"},
        {"relative link", {{"a.cfg", "real/rel.cfg"}}, WriteFileResult::kOk, "real/rel.cfg"},
        {"chain to a file",
         {{"a.cfg", "@/b.cfg"}, {"b.cfg", "real/old.cfg"}},
         WriteFileResult::kOk,
         "real/old.cfg"},
        {"link into a folder not there",
         {{"a.cfg", "@/unmounted/a.cfg"}},
         WriteFileResult::kLinkToMissingFolder,
         ""},
        {"chain into a folder not there",
         {{"a.cfg", "b.cfg"}, {"b.cfg", "@/unmounted/a.cfg"}},
         WriteFileResult::kLinkToMissingFolder,
         ""},
        {"link below a plain file",
         {{"a.cfg", "real/old.cfg/a.cfg"}},
         WriteFileResult::kLinkToMissingFolder,
         ""},
        {"links round in a circle",
         {{"a.cfg", "b.cfg"}, {"b.cfg", "@/a.cfg"}},
         WriteFileResult::kLinkLoop,
         ""},
        {"as many links in a row as the system follows", Chain(40), WriteFileResult::kOk, "real/old.cfg"},
        {"one link more", Chain(41), WriteFileResult::kTooManyLinks, ""},
        {"link to a folder", {{"a.cfg", "real"}}, WriteFileResult::kLinkToFolder, ""},
    };
    for (const Case& c : cases) {
        CTempFolder dir;
        std::filesystem::create_directory(dir / "real");
        WriteBytes(dir / "real/old.cfg", "old");
        std::set<std::string> names{"real"};
        for (auto& [name, to] : c.links) {
            const std::string target = to.front() == '@' ? dir.Path() + to.substr(1) : to;
            ASSERT_EQ(symlink(target.c_str(), (dir / name).c_str()), 0) << c.name;
            names.insert(name);
        }
        EXPECT_EQ(WriteFileAtomic(dir / "a.cfg", "new"), c.expected) << c.name;
        for (auto& [name, to] : c.links)
            EXPECT_TRUE(std::filesystem::is_symlink(dir / name)) << c.name << ": " << name;
        EXPECT_EQ(dir.Names(), names) << c.name;
        const std::string written = c.written;
        EXPECT_EQ(ReadBytes(dir / "real/old.cfg"), written == "real/old.cfg" ? "new" : "old") << c.name;
        std::set<std::string> realNames{"old.cfg"};
        if (!written.empty()) {
            EXPECT_EQ(ReadBytes(dir / written), "new") << c.name;
            realNames.insert(std::filesystem::path(written).filename());
        }
        EXPECT_EQ(CTempFolder::NamesIn(dir / "real"), realNames) << c.name;
    }
}
