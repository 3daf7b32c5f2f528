#include "model/table_files/table_file.h"

#include "link/private_exception.h"
#include "model/table_files/table_text.h"
#include "platform/c_number.h"
#include "res/string_ids.h"

namespace {

// "%lf,%lf": two numbers, the comma directly behind the first.
bool ScanPoint(std::string_view line, double& x, double& y) {
    std::size_t used = 0;
    const auto first = ScanTableNumber(line, &used);
    if (!first || used >= line.size() || line[used] != ',') return false;
    const auto second = ScanTableNumber(line.substr(used + 1));
    if (!second) return false;
    x = *first;
    y = *second;
    return true;
}

}  // namespace

void CTableFile::Add(double x, double y) {
    m_x.push_back(x);
    m_y.push_back(y);
}

void CTableFile::RemoveAll() {
    m_x.clear();
    m_y.clear();
}

void CTableFile::Load(const std::string& path) {
    RemoveAll();
    const std::string content = ReadTableFile(path, kStrTableOpenFailed);
    bool inBlock = false;
    for (std::string_view raw : SplitTableLines(content)) {
        const std::string_view line = TrimLeadingBlanks(raw);
        if (line.empty() || line.front() == '/') continue;
        if (!inBlock) {
            inBlock = line.front() == '{';
            continue;
        }
        if (line.front() == '}') {
            if (m_x.empty()) throw CPrivateException(kStrTableBadStructure);
            return;
        }
        double x = 0;
        double y = 0;
        if (!ScanPoint(line, x, y)) continue;
        if (m_x.size() >= kMaxPoints) throw CPrivateException(kStrTableTooManyPoints);
        Add(x, y);
    }
    throw CPrivateException(kStrTableBadStructure);
}

void CTableFile::CheckSavable() const {
    if (m_x.empty()) throw CPrivateException(kStrTableSaveEmpty);
}

void CTableFile::Save(const std::string& path) const {
    CheckSavable();
    std::string content = "{\r\n";
    for (std::size_t i = 0; i < m_x.size(); ++i) content += FormatC("%.4lf, %.4lf\r\n", m_x[i], m_y[i]);
    content += "}\r\n";
    WriteTableFile(path, content, kStrTableOpenFailed, kStrTableWriteFailed);
}
