#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "model/set/par_type_v.h"
#include "support/temp_folder.h"

namespace {

std::vector<std::string> Rows(const CParBase& set) {
    std::vector<std::string> rows;
    for (int32_t code : set.GetWalkCodes()) rows.push_back(set.GetValueString(code));
    return rows;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
    return text;
}

}  // namespace

// A configuration file the program wrote and an editor saved again in its own way loads back equal,
// and a single key written into it afterwards is the one a later load reads.
TEST(ConfigFileLineEnds, FileResavedByAnEditorLoadsBackAndTakesSingleKeys) {
    struct Case {
        const char* name;
        std::function<std::string(const std::string&)> resave;
    };
    const Case cases[] = {
        {"byte-order mark", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
        {"bare CR", [](const std::string& t) { return Replaced(t, "\r\n", "\r"); }},
        {"LF with a mark", [](const std::string& t) { return "\xEF\xBB\xBF" + Replaced(t, "\r\n", "\n"); }},
    };
    CTempFolder dir;
    CParTypeV saved;
    saved.SetValue(0, 2, false);
    saved.SetValue(51, 2500, false);
    saved.SetValue(20001, 9, false);
    saved.SaveToFile(dir / "a.cfg");
    const std::string written = ReadBytes(dir / "a.cfg");
    for (const Case& c : cases) {
        const std::string path = dir / (std::string(c.name) + ".cfg");
        WriteBytes(path, c.resave(written));
        CParTypeV loaded;
        ASSERT_NO_THROW(loaded.LoadFromFile(path)) << c.name;
        EXPECT_EQ(Rows(loaded), Rows(saved)) << c.name;

        loaded.SetValue(51, 12500, false);
        loaded.SaveParam(path, 51);
        CParTypeV again;
        again.LoadFromFile(path);
        EXPECT_EQ(Rows(again), Rows(loaded)) << c.name;
    }
}
