#include "model/table_files/table_file.h"

#include <gtest/gtest.h>

#include <utility>

#include "platform/resource_module.h"
#include "support/temp_folder.h"
#include "support/thrown_message.h"

namespace {

using Points = std::vector<std::pair<double, double>>;

Points Numbered(int count) {
    Points points;
    for (int i = 0; i < count; ++i) points.emplace_back(i, -i);
    return points;
}

std::string Lines(const Points& points) {
    std::string lines;
    for (const auto& [x, y] : points) lines += std::to_string(x) + ", " + std::to_string(y) + "\r\n";
    return lines;
}

Points PointsOf(const CTableFile& table) {
    Points got;
    for (std::size_t i = 0; i < table.GetCount(); ++i) got.emplace_back(table.GetX(i), table.GetY(i));
    return got;
}

}  // namespace

TEST(TableFile, LoadFollowsTheFileGrammar) {
    struct Case {
        const char* name;
        std::string content;
        unsigned error;  // 0: loads
        Points points;   // those read so far when it fails
    } cases[] = {
        {"braces only", "{\r\n}\r\n", 30002, {}},
        {"no closing brace", "{\r\n1,1\r\n2,2\r\n3,3\r\n", 30002, {{1, 1}, {2, 2}, {3, 3}}},
        {"point forms", "{\n1.5, 2\n1.5,2\n  \t-1.5,\t2e1\n}\n", 0, {{1.5, 2}, {1.5, 2}, {-1.5, 20}}},
        {"ignored lines", "{\n1.5 ,2\n1.5;2\n/1,1\n1.5\n\n   \n7,8\n}", 0, {{7, 8}}},
        {"title before, text after", "Tank 3\r\n  /{\r\n{ x\r\n1,2\r\n}\r\n5,5\r\n", 0, {{1, 2}}},
        {"non-finite numbers", "{\nnan,1\n1,inf\n1e400,1\n3,4\n}\n", 0, {{3, 4}}},
        {"Ctrl-Z is no end", "{\r\n1,1\r\n\x1a\r\n2,2\r\n}", 0, {{1, 1}, {2, 2}}},
        {"101 points", "{\r\n" + Lines(Numbered(101)) + "}\r\n", 0, Numbered(101)},
        {"102 points", "{\r\n" + Lines(Numbered(102)) + "}\r\n", 30003, Numbered(101)},
    };
    CTempFolder dir;
    for (const auto& c : cases) {
        WriteBytes(dir / "t.txt", c.content);
        CTableFile table;
        table.Add(99, 99);
        EXPECT_EQ(ThrownMessage([&] { table.Load(dir / "t.txt"); }), c.error ? LoadString(c.error) : kNoThrow)
            << c.name;
        EXPECT_EQ(PointsOf(table), c.points) << c.name;
    }
    EXPECT_EQ(ThrownMessage([&] { CTableFile().Load(dir / "missing.txt"); }), LoadString(30000));
}

TEST(TableFile, SaveWritesCrLfLinesAndNeverATruncatedFile) {
    CTempFolder dir;
    CTableFile table;
    for (double v : {-2.0, 50.0, 102.0}) table.Add(v, v);
    table.Save(dir / "lin.txt");
    const std::string saved = "{\r\n-2.0000, -2.0000\r\n50.0000, 50.0000\r\n102.0000, 102.0000\r\n}\r\n";
    EXPECT_EQ(ReadBytes(dir / "lin.txt"), saved);
    CTableFile back;
    back.Load(dir / "lin.txt");
    EXPECT_EQ(PointsOf(back), PointsOf(table));

    for (int i = 0; i < 98; ++i) table.Add(i, i);
    {
        CFileSizeLimit limit(64);
        EXPECT_EQ(ThrownMessage([&] { table.Save(dir / "lin.txt"); }), LoadString(30001));
    }
    EXPECT_EQ(ReadBytes(dir / "lin.txt"), saved);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"lin.txt"});
    EXPECT_EQ(ThrownMessage([&] { table.Save(dir / "gone/lin.txt"); }), LoadString(30000));
}
