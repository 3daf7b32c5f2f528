#include "model/table_file2.h"

#include <gtest/gtest.h>

#include "model/notifier.h"
#include "platform/resource_module.h"
#include "temp_folder.h"
#include "thrown_message.h"

namespace {

class CRecordingNotifier : public CNotifier {
public:
    CRecordingNotifier() { InstallNotifier(this); }
    ~CRecordingNotifier() override { InstallNotifier(nullptr); }
    void ShowMessage(const std::string& text, unsigned) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

std::string Values(int count) {
    std::string lines;
    for (int i = 0; i < count; ++i) lines += std::to_string(100 + i) + "\r\n";
    return lines;
}

}  // namespace

TEST(TableFile2, LoadFollowsTheFileGrammar) {
    struct Case {
        const char* name;
        std::string content;
        unsigned error;  // 0: loads
        double start;    // start temperature and step after the load; the object starts with 7 and 3
        int32_t step;
        std::size_t count;
        std::vector<std::string> warnings;
    } cases[] = {
        {"RTD key", "Minimum RTD Temperature = -200\r\nStep = 10\r\n{\r\n1\r\n2\r\n3\r\n}\r\n", 0, -200, 10, 3, {}},
        {"TC key, blanks, comments", "// custom\n\tMinimum TC Temperature\t=\t25.5\n\n Step=5\n{\n/ 0\n1\n}\n", 0, 25.5, 5, 1, {}},
        {"last valid header counts", "Minimum Temperature = 1\nStep = 2\nMinimum Temperature = 9\nStep = x\n{\n1\n}", 0, 9, 2, 1, {}},
        {"other header lines ignored", "Title\nMinimum Temperature 5\nStep = 4\nMinimum Temperature = 0\n{\n1\n}", 0, 0, 4, 1, {}},
        {"start 1000 and -300", "Minimum Temperature = 1000\nMinimum Temperature = -300\nStep = 1\n{\n1\n}", 0, -300, 1, 1, {}},
        {"start 1000.5", "Minimum Temperature = 1000.5\nStep = 1\n{\n1\n}", 30304, 7, 3, 0, {}},
        {"start below -300", "Step = 1\nMinimum Temperature = -300.01\n{\n1\n}", 30304, 7, 1, 0, {}},
        {"non-finite start changes nothing", "Minimum Temperature = nan\nMinimum Temperature = 1e400\nStep = 1\n{\n1\n}", 30302, 7, 1, 0, {}},
        {"step 0", "Minimum Temperature = 0\nStep = 0\n{\n1\n}", 30305, 0, 3, 0, {}},
        {"step 51", "Minimum Temperature = 0\nStep = 51\n{\n1\n}", 30305, 0, 3, 0, {}},
        {"huge step", "Minimum Temperature = 0\nStep = 99999999999999999999\n{\n1\n}", 30305, 0, 3, 0, {}},
        {"huge negative step", "Minimum Temperature = 0\nStep = -4294967297\n{\n1\n}", 30305, 0, 3, 0, {}},
        {"step 2.5", "Minimum Temperature = 0\nStep = 2.5\n{\n1\n}", 0, 0, 2, 1, {}},
        {"step without equals", "Minimum Temperature = 0\nStep 10\n{\n1\n}", 30302, 0, 3, 0, {}},
        {"no start", "Step = 10\n{\n1\n}", 30302, 7, 10, 0, {}},
        {"no closing brace", "Minimum Temperature = 0\nStep = 1\n{\n1\n2\n", 30302, 0, 1, 2, {}},
        {"no value", "Minimum Temperature = 0\nStep = 1\n{\nx\n}\n", 30302, 0, 1, 0, {}},
        {"order warnings with line numbers", "Minimum Temperature = 0\nStep = 1\n{\n100\n120\n120\n110\n}\n", 0, 0, 1, 4,
         {"Invalid resistance value order in the RTD file.(line 6)",
          "Invalid resistance value order in the RTD file.(line 7)"}},
        {"block lines without number", "Minimum Temperature = 0\r\nStep = 1\r\n{\r\nabc\r\ninf\r\n\x1a\r\n5\r\n}", 0, 0, 1, 1, {}},
        {"300 values", "Minimum Temperature = 0\nStep = 1\n{\n" + Values(300) + "}\n", 0, 0, 1, 300, {}},
        {"301 values", "Minimum Temperature = 0\nStep = 1\n{\n" + Values(301) + "}\n", 30303, 0, 1, 300, {}},
    };
    CTempFolder dir;
    for (const auto& c : cases) {
        WriteBytes(dir / "t.txt", c.content);
        CRecordingNotifier notifier;
        CTableFile2 table;
        table.SetValues({5, 6});
        table.SetStartTemperature(7);
        table.SetStep(3);
        EXPECT_EQ(ThrownMessage([&] { table.Load(dir / "t.txt"); }), c.error ? LoadString(c.error) : "<no throw>")
            << c.name;
        EXPECT_EQ(table.GetStartTemperature(), c.start) << c.name;
        EXPECT_EQ(table.GetStep(), c.step) << c.name;
        EXPECT_EQ(table.GetValues().size(), c.count) << c.name;
        EXPECT_EQ(notifier.messages, c.warnings) << c.name;
    }
}

TEST(TableFile2, SavesByteExactWithTheOneStartKey) {
    CTempFolder dir;
    WriteBytes(dir / "in.txt", "Minimum RTD Temperature = -200\r\nStep = 10\r\n{\r\n18.52\r\n22.83\r\n27.1\r\n}\r\n");
    CTableFile2 table;
    table.Load(dir / "in.txt");
    table.Save(dir / "out.txt");
    EXPECT_EQ(ReadBytes(dir / "out.txt"),
              "Minimum Temperature = -200.0000\r\nStep = 10\r\n{\r\n18.5200\r\n22.8300\r\n27.1000\r\n}\r\n");

    CTableFile2 back;
    back.Load(dir / "out.txt");
    EXPECT_EQ(back.GetValues(), table.GetValues());
}

TEST(TableFile2, FailuresThrowTheirMessagesAndKeepTheOldFile) {
    CTempFolder dir;
    const std::string path = dir / "rtd.txt";
    WriteBytes(path, "old");
    CTableFile2 table;
    table.SetValues(std::vector<double>(300, 1.5));
    {
        CFileSizeLimit limit(64);
        EXPECT_EQ(ThrownMessage([&] { table.Save(path); }), LoadString(30301));
    }
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(dir.List(), std::vector<std::string>{"rtd.txt"});
    EXPECT_EQ(ThrownMessage([&] { table.Save(dir / "gone/rtd.txt"); }), LoadString(30300));
    EXPECT_EQ(ThrownMessage([&] { table.Load(dir / "missing.txt"); }), LoadString(30300));
}
