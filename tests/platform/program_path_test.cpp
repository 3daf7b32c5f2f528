#include "platform/program_path.h"

#include <gtest/gtest.h>

TEST(ProgramPath, AdministratorMarkerReplacesOnlyTheFileNamesExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/brimlow/brimlow", "/opt/brimlow/brimlow.adm"},
        {"/opt/brimlow/brimlow.bin", "/opt/brimlow/brimlow.adm"},
        {"/opt/v1.2/brimlow", "/opt/v1.2/brimlow.adm"},
        {"/home/u/.local/bin/brimlow", "/home/u/.local/bin/brimlow.adm"},
        {"/opt/x/.hidden", "/opt/x/.hidden.adm"},
        {"brimlow.x.y", "brimlow.x.adm"},
    };
    for (const auto& [program, marker] : cases) EXPECT_EQ(AdminMarkerPath(program), marker) << program;
}

TEST(ProgramPath, TheRunningProgramIsFoundAndItsFolderIsTheDirectoryPart) {
    const std::string path = ProgramPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.rfind(ProgramDirectory() + "/", 0), 0u);
}
