#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "link/private_exception.h"
#include "model/rtd/par_type_r.h"
#include "support/par_probe.h"
#include "support/temp_folder.h"

namespace {

std::vector<std::string> Rows(const CParBase& set) {
    std::vector<std::string> rows;
    for (int32_t code : set.GetWalkCodes()) rows.push_back(set.GetValueString(code));
    return rows;
}

// The lines of a text whose every line ends in CR LF; a text that does not gives no lines.
std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    for (size_t end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
        lines.push_back(text.substr(pos, end - pos));
    return pos == text.size() ? lines : std::vector<std::string>{};
}

TEST(ParBaseFile, DefaultSetSavesEveryWalkRowAndTheModel) {
    CTempFolder dir;
    CParTypeV set;
    set.SaveToFile(dir / "a.cfg");
    const std::vector<std::string> lines = SplitCrLf(ReadBytes(dir / "a.cfg"));
    const std::vector<int32_t> codes = set.GetWalkCodes();
    ASSERT_EQ(lines.size(), 1 + 219 + 2u);
    EXPECT_EQ(lines.front(), "[SETTING]");
    for (size_t i = 0; i < codes.size(); ++i)
        EXPECT_EQ(lines[1 + i], "P" + std::to_string(codes[i]) + "=" + set.GetValueString(codes[i]));
    EXPECT_EQ(lines[220], "[HEAD]");
    EXPECT_EQ(lines[221], "MODEL=K9R");
    for (const char* line :
         {"P65000=", "P0=0", "P1=0.0000", "P2=100.0000", "P51=0.0", "P100=0", "P101=4.0000", "P102=20.0000",
          "P10002=1.0000", "P20001=3", "P20002=-2.0000", "P20004=50.0000"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;

    CParTypeV changed;
    changed.SetValue(0, 2, false);
    changed.SetValue(51, 2500, false);
    changed.SetValue(20001, 9, false);
    changed.SetValue(20203, 5, false);
    changed.LoadFromFile(dir / "a.cfg");
    EXPECT_EQ(Rows(changed), Rows(set));
}

TEST(ParBaseFile, WindowsStyleFileLoadsTypeDefaultsFirstAndMissingKeysAsEmpty) {
    CTempFolder dir;
    // The ranges stand before the type choice, which must still be applied first; P20001 is missing.
    WriteBytes(dir / "w.cfg",
               "; written on Windows\r\n[setting]\r\np1 = -500.0000 \r\nP2=\"500.0000\"\r\nP51=0.5\r\n"
               "P10002=2.0000\r\nP0=1\r\n\r\n[Head]\r\nmodel=K9R");
    CParTypeV set;
    set.SetValue(20001, 7, false);
    set.LoadFromFile(dir / "w.cfg");
    struct Case {
        int32_t code, value;
    } cases[] = {{0, 1},         {1, -5000000}, {2, 5000000}, {51, 5000},
                 {10002, 20000}, {20001, 0},    {100, 0},     {101, 0}};
    for (const auto& c : cases) EXPECT_EQ(set.GetValue(c.code), c.value) << c.code;
}

TEST(ParBaseFile, ModelMismatchChangesNothing) {
    CTempFolder dir;
    const std::string body = "[SETTING]\r\nP0=1\r\nP51=0.5\r\nP20001=9\r\n";
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"other model", body + "[HEAD]\r\nMODEL=K9U2\r\n"},
        {"case differs", body + "[HEAD]\r\nMODEL=k9r\r\n"},
        {"neither section", "MODEL=K9R\r\n[OTHER]\r\nMODEL=K9R\r\n"},
    };
    for (const auto& c : cases) {
        WriteBytes(dir / "m.cfg", c.text);
        CParTypeV set;
        set.SetValue(51, 1234, false);
        const std::vector<std::string> before = Rows(set);
        EXPECT_EQ(ThrownMessage([&] { set.LoadFromFile(dir / "m.cfg"); }),
                  "This parameter file is not match this model.")
            << c.name;
        EXPECT_EQ(Rows(set), before) << c.name;
    }
}

// The model code stands at the end, so a file cut short lacks it: the cause given is what is missing.
TEST(ParBaseFile, FileCutShortOrTooLargeIsSaidSoAndChangesNothing) {
    CTempFolder dir;
    CParTypeV saved;
    saved.SaveToFile(dir / "whole.cfg");
    const std::string whole = ReadBytes(dir / "whole.cfg");
    const std::string noHead = "The parameter file is incomplete: the section [HEAD] is missing.";
    const std::string noModel =
        "The parameter file is incomplete: the key MODEL is missing from the section [HEAD].";
    struct Case {
        const char* name;
        std::string text;
        std::string message;
    } cases[] = {
        {"cut in the settings", whole.substr(0, whole.find("P20100")), noHead},
        {"cut in the head line", whole.substr(0, whole.find("[HEAD]") + 3), noHead},
        {"cut after the head line", whole.substr(0, whole.find("MODEL")), noModel},
        {"model in the wrong section", "[SETTING]\r\nMODEL=K9R\r\nP0=1\r\n", noHead},
        {"a byte beyond the largest file", std::string((1 << 20) - 1 - whole.size(), ';') + "\r\n" + whole,
         "The file is larger than a parameter file can be (at most 1048576 bytes) and was not read."},
    };
    for (const auto& c : cases) {
        WriteBytes(dir / "c.cfg", c.text);
        CParTypeV set;
        set.SetValue(51, 1234, false);
        const std::vector<std::string> before = Rows(set);
        EXPECT_EQ(ThrownMessage([&] { set.LoadFromFile(dir / "c.cfg"); }), c.message) << c.name;
        EXPECT_EQ(ThrownMessage([&] { CParBase::ReadFileModelCode(dir / "c.cfg"); }), c.message) << c.name;
        EXPECT_EQ(Rows(set), before) << c.name;
    }
    WriteBytes(dir / "c.cfg", std::string((1 << 20) - 2 - whole.size(), ';') + "\r\n" + whole);
    EXPECT_NO_THROW(CParTypeV().LoadFromFile(dir / "c.cfg"));
}

TEST(ParBaseFile, FileThatCannotBeOpenedIsSaidSoAndChangesNothing) {
    CTempFolder dir;
    WriteBytes(dir / "locked.cfg", "[SETTING]\r\nP51=0.5\r\n[HEAD]\r\nMODEL=K9R\r\n");
    std::filesystem::permissions(dir / "locked.cfg", std::filesystem::perms::none);
    std::vector<std::string> paths = {dir / "missing.cfg", dir.Path()};
    // Permissions do not stop the superuser, so the unreadable case needs an ordinary user.
    if (geteuid() != 0) paths.push_back(dir / "locked.cfg");
    for (const std::string& path : paths) {
        CParTypeV set;
        set.SetValue(51, 1234, false);
        const std::vector<std::string> before = Rows(set);
        const std::string cannotOpen = "Can not open the parameter file.";
        EXPECT_EQ(ThrownMessage([&] { set.LoadFromFile(path); }), cannotOpen) << path;
        EXPECT_EQ(ThrownMessage([&] { set.LoadParam(path, 51); }), cannotOpen) << path;
        EXPECT_EQ(ThrownMessage([&] { CParBase::ReadFileModelCode(path); }), cannotOpen) << path;
        EXPECT_EQ(Rows(set), before) << path;
    }
    WriteBytes(dir / "head.cfg", "[HEAD]\r\nMODEL=K9U2\r\n");
    EXPECT_EQ(CParBase::ReadFileModelCode(dir / "head.cfg"), "K9U2");
    WriteBytes(dir / "empty.cfg", "");
    EXPECT_EQ(CParBase::ReadFileModelCode(dir / "empty.cfg"), "");
}

TEST(ParBaseFile, InputsOutOfOrderLoadAsTheFileHoldsThem) {
    CTempFolder dir;
    WriteBytes(dir / "r.cfg",
               "[SETTING]\r\nP0=0\r\nP1=10.0000\r\nP2=0.0000\r\nP51=0.5\r\n[HEAD]\r\nMODEL=K9R\r\n");
    CParTypeV set;
    set.LoadFromFile(dir / "r.cfg");
    EXPECT_EQ(set.GetValue(1), 100000);
    EXPECT_EQ(set.GetValue(2), 0);
    EXPECT_EQ(set.GetValue(51), 5000);
}

// A set whose load fails at the damping key, as one whose rules refused a stored value would.
class CRefusingSet : public CParTypeV {
public:
    std::unique_ptr<CParBase> CreateInstance() const override { return std::make_unique<CRefusingSet>(); }
    void SetValueFromString(int32_t code, const std::string& text, bool check) override {
        if (code == 51) throw CPrivateException("refused");
        CParTypeV::SetValueFromString(code, text, check);
    }
};

TEST(ParBaseFile, RefusedLoadChangesNothing) {
    CTempFolder dir;
    WriteBytes(dir / "r.cfg",
               "[SETTING]\r\nP0=1\r\nP1=-5.0000\r\nP2=5.0000\r\nP51=0.5\r\nP10002=0.9700\r\n"
               "[HEAD]\r\nMODEL=K9R\r\n");
    CRefusingSet set;
    set.SetValue(20001, 7, false);
    const std::vector<std::string> before = Rows(set);
    EXPECT_EQ(ThrownMessage([&] { set.LoadFromFile(dir / "r.cfg"); }), "refused");
    EXPECT_EQ(Rows(set), before);
}

TEST(ParBaseFile, TextsTheFileWouldTrimOrUnquoteLoadBackAsTheyWere) {
    CTempFolder dir;
    for (const char* text : {" lead", "trail\t", "\"both\"", "'one'", "\" ", "'", "mid dle", ""}) {
        CParTypeR set;
        set.SetValueFromString(62003, text, false);
        set.SaveToFile(dir / "t.cfg");
        CParTypeR loaded;
        loaded.LoadFromFile(dir / "t.cfg");
        EXPECT_EQ(loaded.GetValueString(62003), text);
    }
}

TEST(ParBaseFile, FailedSaveKeepsTheOldFileAndSaysWhere) {
    CTempFolder dir;
    const std::string old = "[SETTING]\r\nP0=2\r\n[HEAD]\r\nMODEL=K9R\r\n";
    WriteBytes(dir / "old.cfg", old);
    struct Case {
        const char* name;
        std::string target;
        rlim_t sizeLimit;
    } cases[] = {
        {"disk full half-way", dir / "old.cfg", 16},
        {"vanished folder", dir / "gone/a.cfg", RLIM_INFINITY},
    };
    CParTypeV set;
    for (const auto& c : cases) {
        CFileSizeLimit limit(c.sizeLimit);
        EXPECT_EQ(ThrownMessage([&] { set.SaveToFile(c.target); }),
                  "Save parameter file failed.\n" + c.target)
            << c.name;
        EXPECT_EQ(ThrownMessage([&] { set.SaveParam(c.target, 51); }),
                  "Save parameter file failed.\n" + c.target)
            << c.name;
    }
    EXPECT_EQ(ReadBytes(dir / "old.cfg"), old);
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"old.cfg"}));
}

// A set whose header row text carries line ends, as texts decoded from a device may.
class CLineEndProbe : public CParTypeV {
public:
    std::string GetValueString(int32_t code) const override {
        return code == 65000 ? "a\r\n[HEAD]\r\nMODEL=X\n" : CParTypeV::GetValueString(code);
    }
};

TEST(ParBaseFile, LineEndsInValuesCannotShadowTheModel) {
    CTempFolder dir;
    CLineEndProbe set;
    set.SaveToFile(dir / "e.cfg");
    const std::vector<std::string> lines = SplitCrLf(ReadBytes(dir / "e.cfg"));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "P65000=a  [HEAD]  MODEL=X ");
    CParTypeV other;
    EXPECT_NO_THROW(other.LoadFromFile(dir / "e.cfg"));
}

TEST(ParBaseFile, SingleKeysReplaceInPlaceAndLoadAlone) {
    CTempFolder dir;
    WriteBytes(dir / "k.cfg", "; keep\r\n[SETTING]\r\nP51=0.5\r\nP0=1\r\n[HEAD]\r\nMODEL=K9R\r\n");
    CParTypeV set;
    set.SetValue(51, 12500, false);
    set.SaveParam(dir / "k.cfg", 51);
    set.SaveParam(dir / "k.cfg", 102);
    EXPECT_EQ(ReadBytes(dir / "k.cfg"),
              "; keep\r\n[SETTING]\r\nP51=1.2\r\nP0=1\r\nP102=20.0000\r\n[HEAD]\r\nMODEL=K9R\r\n");
    CParTypeV other;
    other.LoadParam(dir / "k.cfg", 0);
    other.LoadParam(dir / "k.cfg", 51);
    EXPECT_EQ(other.GetValue(0), 1);
    EXPECT_EQ(other.GetValue(51), 12000);
    EXPECT_EQ(other.GetValue(1), -10000000);  // the type's default range came with P0
}

}  // namespace
