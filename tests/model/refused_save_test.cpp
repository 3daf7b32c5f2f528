#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "model/set/par_type_v.h"
#include "model/table_files/table_file.h"
#include "model/table_files/table_file2.h"
#include "support/as_user.h"
#include "support/temp_folder.h"
#include "support/thrown_message.h"

namespace {

// Every way the user saves a file, each onto `path`.
struct Writer {
    const char* name;
    std::function<void(const std::string&)> save;
} const kWriters[] = {
    {"configuration file", [](const std::string& path) { CParTypeV().SaveToFile(path); }},
    {"single parameter", [](const std::string& path) { CParTypeV().SaveParam(path, 51); }},
    {"table file",
     [](const std::string& path) {
         CTableFile table;
         table.Add(1, 2);
         table.Save(path);
     }},
    {"custom table file",
     [](const std::string& path) {
         CTableFile2 table;
         table.SetValues({1.5});
         table.SetStep(1);
         table.Save(path);
     }},
};

// What stands in the folder: each name with its kind, mode and bytes, or where its link points.
std::map<std::string, std::string> Snapshot(const CTempFolder& dir) {
    std::map<std::string, std::string> entries;
    for (const std::string& name : dir.Names()) {
        struct stat st {};
        lstat((dir / name).c_str(), &st);
        entries[name] = S_ISLNK(st.st_mode) ? "link to " + std::filesystem::read_symlink(dir / name).string()
                                            : std::to_string(st.st_mode) + " " + ReadBytes(dir / name);
    }
    return entries;
}

// What stands at "f.cfg" in the folder that a save is refused for, and the message that says why.
struct Refusal {
    const char* name;
    std::function<void(const CTempFolder&)> make;
    std::function<std::string(const CTempFolder&)> message;
};

std::string NotWritable(const CTempFolder& dir) {
    return dir / "f.cfg" +
           " may not be written: it is read-only or belongs to another user. The file was left as it was.";
}

std::string LinkToMissingFolder(const CTempFolder& dir) {
    return dir / "f.cfg" + " is a link to " + dir / "unmounted/f.cfg" +
           ", whose folder is not there (a drive that is not mounted, or a folder moved or renamed). Nothing "
           "was saved and the link was left as it was.";
}

void MakeFile(const CTempFolder& dir, uid_t owner, mode_t mode) {
    WriteBytes(dir / "f.cfg", "old");
    ASSERT_EQ(chown((dir / "f.cfg").c_str(), owner, static_cast<gid_t>(-1)), 0);
    ASSERT_EQ(chmod((dir / "f.cfg").c_str(), mode), 0);
}

void MakeLink(const CTempFolder& dir, const std::string& name, const std::string& to) {
    ASSERT_EQ(symlink(to.c_str(), (dir / name).c_str()), 0);
}

// Each writer, run as an ordinary user (the superuser may write any file) in a folder open to everybody,
// so that only the refusal stops the save: its message says why, and the folder is as it was, with no
// temporary file left.
void ExpectEveryWriterRefused(const Refusal& refusal) {
    for (const Writer& writer : kWriters) {
        CTempFolder dir;
        ASSERT_EQ(chmod(dir.Path().c_str(), 0777), 0);
        refusal.make(dir);
        const std::map<std::string, std::string> before = Snapshot(dir);
        const std::string path = dir / "f.cfg";
        EXPECT_EQ(RunAsUser(kNobodyId, kNobodyId, [&] { return ThrownMessage([&] { writer.save(path); }); }),
                  refusal.message(dir))
            << refusal.name << ", " << writer.name;
        EXPECT_EQ(Snapshot(dir), before) << refusal.name << ", " << writer.name;
    }
}

TEST(RefusedSave, SaysWhyAndLeavesTheFileAsItWas) {
    const Refusal refusals[] = {
        {"read-only file of the user", [](const CTempFolder& dir) { MakeFile(dir, ChildUserId(), 0444); },
         NotWritable},
        {"link into a folder not there",
         [](const CTempFolder& dir) { MakeLink(dir, "f.cfg", dir / "unmounted/f.cfg"); },
         LinkToMissingFolder},
        {"chain into a folder not there",
         [](const CTempFolder& dir) {
             MakeLink(dir, "f.cfg", dir / "g.cfg");
             MakeLink(dir, "g.cfg", "unmounted/f.cfg");
         },
         LinkToMissingFolder},
        {"links round in a circle",
         [](const CTempFolder& dir) {
             MakeLink(dir, "f.cfg", "g.cfg");
             MakeLink(dir, "g.cfg", "f.cfg");
         },
         [](const CTempFolder& dir) {
             return dir / "f.cfg" +
                    " is a link that leads round in a circle and never reaches a file. Nothing was saved and "
                    "the link was left as it was.";
         }},
        {"link to a folder", [](const CTempFolder& dir) { MakeLink(dir, "f.cfg", dir.Path()); },
         [](const CTempFolder& dir) {
             return dir / "f.cfg" + " is a link to the folder " + dir.Path() +
                    ", not to a file. Nothing was saved and the link was left as it was.";
         }},
    };
    for (const Refusal& refusal : refusals) ExpectEveryWriterRefused(refusal);
}

TEST(RefusedSave, AnotherUsersFileInAFolderTheUserMayWriteSaysSo) {
    if (geteuid() != 0) GTEST_SKIP() << "needs the superuser, who alone can make a file of another user";
    ExpectEveryWriterRefused(
        {"another user's file", [](const CTempFolder& dir) { MakeFile(dir, 0, 0644); }, NotWritable});
}

}  // namespace
