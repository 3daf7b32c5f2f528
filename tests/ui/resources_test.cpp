// The Japanese language module against the program's own English resources.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "platform/language_module.h"
#include "res/dialogs/dialog_ids.h"
#include "res/en/dialog_table_en.h"
#include "res/en/string_table_en.h"

namespace {
// The inserts of a text in order: "%1", "%2!d!", "%s", "%d", ...
std::vector<std::string> Inserts(const std::string& text) {
    static const std::regex insert(R"(%[0-9](![^!]*!)?|%[-+ 0-9.]*l*[sdfxXu])");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), insert); it != std::sregex_iterator();
         ++it) {
        found.push_back(it->str());
    }
    return found;
}

// Each dialog with the ids its class names.
struct DialogIds {
    unsigned dialog;
    std::vector<int> ids;
};
const DialogIds kDialogIds[] = {
    {102, {std::begin(Dialog102Ids::kAll), std::end(Dialog102Ids::kAll)}},
    {129, {std::begin(Dialog129Ids::kAll), std::end(Dialog129Ids::kAll)}},
    {130, {std::begin(Dialog130Ids::kAll), std::end(Dialog130Ids::kAll)}},
    {131, {std::begin(Dialog131Ids::kAll), std::end(Dialog131Ids::kAll)}},
    {132, {std::begin(Dialog132Ids::kAll), std::end(Dialog132Ids::kAll)}},
    {134, {std::begin(Dialog134Ids::kAll), std::end(Dialog134Ids::kAll)}},
    {135, {std::begin(Dialog135Ids::kAll), std::end(Dialog135Ids::kAll)}},
    {137, {std::begin(Dialog137Ids::kAll), std::end(Dialog137Ids::kAll)}},
    {138, {std::begin(Dialog138Ids::kAll), std::end(Dialog138Ids::kAll)}},
    {139, {std::begin(Dialog139Ids::kAll), std::end(Dialog139Ids::kAll)}},
    {143, {std::begin(Dialog143Ids::kAll), std::end(Dialog143Ids::kAll)}},
    {140, {std::begin(Dialog140Ids::kAll), std::end(Dialog140Ids::kAll)}},
    {141, {std::begin(Dialog141Ids::kAll), std::end(Dialog141Ids::kAll)}},
    {142, {std::begin(Dialog142Ids::kAll), std::end(Dialog142Ids::kAll)}},
    {146, {std::begin(Dialog146Ids::kAll), std::end(Dialog146Ids::kAll)}},
    {147, {std::begin(Dialog147Ids::kAll), std::end(Dialog147Ids::kAll)}},
    {148, {std::begin(Dialog148Ids::kAll), std::end(Dialog148Ids::kAll)}},
};

bool PlacesControl(const DialogTemplate& dialog, int id) {
    for (std::size_t c = 0; c < dialog.controlCount; ++c) {
        if (dialog.controls[c].id == id) return true;
    }
    return false;
}

std::unique_ptr<CLanguageModule> LoadJapanese() {
    return CLanguageModule::Load(std::string(BRIMLOW_MODULE_DIR) + "/Brimlow_jpn.so", nullptr);
}
}  // namespace

TEST(Resources, EveryEnglishTextHasAJapaneseTextWithTheSameInserts) {
    const auto japanese = LoadJapanese();
    ASSERT_NE(japanese, nullptr);
    for (std::size_t i = 0; i < EnglishStringCount(); ++i) {
        const StringEntry& english = EnglishStrings()[i];
        EXPECT_TRUE(japanese->Resources().HasString(english.id)) << english.id;
        EXPECT_EQ(Inserts(japanese->Resources().LoadString(english.id)), Inserts(english.text)) << english.id;
    }
}

TEST(Resources, BothLanguagesShareEveryTemplatesGeometry) {
    const auto japanese = LoadJapanese();
    ASSERT_NE(japanese, nullptr);
    for (std::size_t i = 0; i < EnglishDialogCount(); ++i) {
        const DialogTemplate& english = EnglishDialogs()[i];
        const DialogTemplate* translated = japanese->Resources().FindDialog(english.id);
        ASSERT_NE(translated, nullptr) << english.id;
        ASSERT_EQ(translated->controlCount, english.controlCount) << english.id;
        EXPECT_EQ(translated->cx, english.cx);
        EXPECT_EQ(translated->cy, english.cy);
        for (std::size_t c = 0; c < english.controlCount; ++c) {
            const DialogControl& a = english.controls[c];
            const DialogControl& b = translated->controls[c];
            EXPECT_TRUE(a.id == b.id && a.kind == b.kind && a.x == b.x && a.y == b.y && a.cx == b.cx &&
                        a.cy == b.cy && a.style == b.style)
                << english.id << " control " << a.id;
        }
    }
}

TEST(Resources, EveryTemplatePlacesEveryControlItsDialogNames) {
    const auto japanese = LoadJapanese();
    ASSERT_NE(japanese, nullptr);
    for (const DialogIds& named : kDialogIds) {
        const DialogTemplate* english = OwnResourceModule().FindDialog(named.dialog);
        const DialogTemplate* translated = japanese->Resources().FindDialog(named.dialog);
        ASSERT_NE(english, nullptr) << named.dialog;
        ASSERT_NE(translated, nullptr) << named.dialog;
        for (int id : named.ids) {
            EXPECT_TRUE(PlacesControl(*english, id)) << named.dialog << " lacks " << id;
            EXPECT_TRUE(PlacesControl(*translated, id)) << named.dialog << " (Japanese) lacks " << id;
        }
    }
}

TEST(Resources, ALanguageModuleFallsBackToTheOwnResourcesOnlyWhereItHasNothing) {
    const auto japanese = CLanguageModule::Load(std::string(BRIMLOW_MODULE_DIR) + "/Brimlow_jpn.so",
                                                &OwnResourceModule());
    ASSERT_NE(japanese, nullptr);
    EXPECT_EQ(japanese->Resources().LoadString(13000), "接続");
    EXPECT_EQ(japanese->Resources().LoadString(999999), "");
    EXPECT_EQ(CLanguageModule::Load(std::string(BRIMLOW_WRONG_MODULE_DIR) + "/Brimlow_jpn.so", nullptr),
              nullptr);
    EXPECT_EQ(CLanguageModule::Load("/nonexistent/Brimlow_jpn.so", nullptr), nullptr);
}
