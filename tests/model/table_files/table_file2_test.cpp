#include "model/table_files/table_file2.h"

#include <gtest/gtest.h>

#include "model/hooks/notifier.h"
#include "model/table_files/table_file.h"
#include "platform/resource_module.h"
#include "support/recording_notifier.h"
#include "support/temp_folder.h"
#include "support/thrown_message.h"

namespace {

std::string Values(int count) {
    std::string lines = "Minimum Temperature = 0\nStep = 1\n{\n";
    for (int i = 0; i < count; ++i) lines += std::to_string(100 + i) + "\r\n";
    return lines + "}\n";
}

}  // namespace

TEST(TableFile2, LoadFollowsTheFileGrammar) {
    const std::string h = "Minimum Temperature = 0\nStep = 1\n";
    // clang-format off
    struct Case {
        const char* name;
        std::string content;
        unsigned error;  // 0: loads
        double start;    // after the load; the object starts with 7, step 3 and two values
        int32_t step;
        std::size_t count;
        std::vector<int> warnedLines;
    } cases[] = {
        {"RTD key", "Minimum RTD Temperature = -200\r\nStep = 10\r\n{\r\n1\r\n2\r\n3\r\n}\r\n", 0, -200, 10, 3, {}},
        {"TC key, blanks, comments", "// c\n\tMinimum TC Temperature\t=\t25.5\n\n Step=5\n{\n/ 0\n1\n}", 0, 25.5, 5, 1, {}},
        {"last valid header counts", "Minimum Temperature = 1\nStep = 2\nMinimum Temperature = 9\nStep = x\n{\n1\n}", 0, 9, 2, 1, {}},
        {"other header lines ignored", "Title\nMinimum Temperature 5\nStep = 4\nMinimum Temperature = 0\n{\n1\n}", 0, 0, 4, 1, {}},
        {"start 1000 and -300", "Minimum Temperature = 1000\nMinimum Temperature = -300\nStep = 1\n{\n1\n}", 0, -300, 1, 1, {}},
        {"start 1000.5", "Minimum Temperature = 1000.5\nStep = 1\n{\n1\n}", 30304, 7, 3, 0, {}},
        {"non-finite start is no start", "Minimum Temperature = nan\nMinimum Temperature = 1e400\nStep = 1\n{\n1\n}", 30302, 7, 1, 0, {}},
        {"step 0", "Step = 0\n", 30305, 7, 3, 0, {}},
        {"step 51", "Step = 51\n", 30305, 7, 3, 0, {}},
        {"step beyond int32", "Step = 99999999999999999999\n", 30305, 7, 3, 0, {}},
        {"step 2.5", "Minimum Temperature = 0\nStep = 2.5\n{\n1\n}", 0, 0, 2, 1, {}},
        {"step without equals", "Minimum Temperature = 0\nStep 10\n{\n1\n}", 30302, 0, 3, 0, {}},
        {"no closing brace", h + "{\n1\n2\n", 30302, 0, 1, 2, {}},
        {"no value", h + "{\nx\n}\n", 30302, 0, 1, 0, {}},
        {"order warnings", h + "{\n100\n120\n120\n110\n}\n", 0, 0, 1, 4, {6, 7}},
        {"lines without number", h + "{\r\nabc\r\ninf\r\n\x1a\r\n5\r\n}", 0, 0, 1, 1, {}},
        {"300 values", Values(300), 0, 0, 1, 300, {}},
        {"301 values", Values(301), 30303, 0, 1, 300, {}},
    };
    // clang-format on
    CTempFolder dir;
    for (const auto& c : cases) {
        WriteBytes(dir / "t.txt", c.content);
        CRecordingNotifier notifier;
        CTableFile2 table;
        table.SetValues({5, 6});
        table.SetStartTemperature(7);
        table.SetStep(3);
        EXPECT_EQ(ThrownMessage([&] { table.Load(dir / "t.txt"); }), c.error ? LoadString(c.error) : kNoThrow)
            << c.name;
        EXPECT_EQ(table.GetStartTemperature(), c.start) << c.name;
        EXPECT_EQ(table.GetStep(), c.step) << c.name;
        EXPECT_EQ(table.GetValues().size(), c.count) << c.name;
        std::vector<std::string> warnings;
        for (int line : c.warnedLines)
            warnings.push_back("Invalid resistance value order in the RTD file.(line " +
                               std::to_string(line) + ")");
        EXPECT_EQ(notifier.messages, warnings) << c.name;
    }
    EXPECT_EQ(ThrownMessage([&] { CTableFile2().Load(dir / "missing.txt"); }), LoadString(30300));
}

TEST(TableFile2, SavesByteExactAndNeverATruncatedFile) {
    CTempFolder dir;
    WriteBytes(dir / "t.txt",
               "Minimum RTD Temperature = -200\r\nStep = 10\r\n{\r\n18.52\r\n22.83\r\n27.1\r\n}\r\n");
    CTableFile2 table;
    table.Load(dir / "t.txt");
    table.Save(dir / "t.txt");
    const std::string saved =
        "Minimum Temperature = -200.0000\r\nStep = 10\r\n{\r\n18.5200\r\n22.8300\r\n27.1000\r\n}\r\n";
    EXPECT_EQ(ReadBytes(dir / "t.txt"), saved);

    table.SetValues(std::vector<double>(300, 1.5));
    {
        CFileSizeLimit limit(64);
        EXPECT_EQ(ThrownMessage([&] { table.Save(dir / "t.txt"); }), LoadString(30301));
    }
    EXPECT_EQ(ReadBytes(dir / "t.txt"), saved);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"t.txt"});
    EXPECT_EQ(ThrownMessage([&] { table.Save(dir / "gone/t.txt"); }), LoadString(30300));
}

TEST(TableFile2, RefusesToSaveWhatItsReaderWouldRefuse) {
    CTempFolder dir;
    const std::string notSaved = " could not be opened again, so nothing was saved.";
    const std::string empty = "The table is empty. A table file without values" + notSaved;
    CTableFile2 table;
    table.SetStep(50);
    EXPECT_EQ(ThrownMessage([&] { table.Save(dir / "t.txt"); }), empty);
    EXPECT_EQ(ThrownMessage([&] { CTableFile().Save(dir / "t.txt"); }), empty);
    table.SetValues({1});
    table.SetStartTemperature(1000.5);
    EXPECT_EQ(ThrownMessage([&] { table.Save(dir / "t.txt"); }),
              "The table starts at 1000.5000, outside -300 to 1000. A table file with that start" + notSaved);
    table.SetStartTemperature(-300);
    table.SetStep(0);
    EXPECT_EQ(ThrownMessage([&] { table.Save(dir / "t.txt"); }),
              "The table's step is 0, outside 1 to 50. A table file with that step" + notSaved);
    EXPECT_EQ(dir.Names(), std::set<std::string>{});
    table.SetStep(50);
    table.Save(dir / "t.txt");
    CTableFile2().Load(dir / "t.txt");
}
