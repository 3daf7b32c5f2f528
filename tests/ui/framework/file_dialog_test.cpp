#include "ui/framework/file_dialog.h"

#include <gtest/gtest.h>

#include <optional>

#include "ui/framework/message_box.h"

TEST(FileDialog, FilterStringsBecomeNameFilters) {
    const std::pair<const char*, const char*> cases[] = {
        {"Configuration File (*.cfg)|*.cfg|All Files (*.*)|*.*||",
         "Configuration File (*.cfg);;All Files (*.*)"},
        {"Tables|*.txt;*.csv||", "Tables (*.txt *.csv)"},
        {"", ""},
        {"Broken|", ""},
    };
    for (const auto& [filter, expected] : cases)
        EXPECT_EQ(CFileDialog::ToNameFilters(filter), expected) << filter;
}

TEST(FileDialog, TheDefaultExtensionIsAddedOnlyToANameWithoutOne) {
    const std::pair<std::optional<std::string>, std::pair<int, const char*>> cases[] = {
        {"/tmp/a", {IDOK, "/tmp/a.cfg"}},
        {"/tmp/a.txt", {IDOK, "/tmp/a.txt"}},
        {"/tmp/v1.2/a", {IDOK, "/tmp/v1.2/a.cfg"}},
        {std::nullopt, {IDCANCEL, ""}},
    };
    for (const auto& [answer, expected] : cases) {
        CFileDialog::SetHook([&answer](const CFileDialog::Request& request) {
            EXPECT_FALSE(request.open);
            EXPECT_EQ(request.nameFilters, "Configuration File (*.cfg)");
            return answer;
        });
        CFileDialog dialog(false, "cfg", "", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                           "Configuration File (*.cfg)|*.cfg||");
        EXPECT_EQ(dialog.DoModal(), expected.first);
        EXPECT_EQ(dialog.GetPathName(), expected.second);
    }
    CFileDialog::SetHook(nullptr);
}
