#include "model/table_files/table_file2.h"

#include <optional>
#include <string_view>

#include "link/private_exception.h"
#include "model/hooks/notifier.h"
#include "model/table_files/table_text.h"
#include "platform/c_number.h"
#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

constexpr unsigned kMessageBoxOk = 0;
// What a file may hold; a table is saved only within them.
constexpr double kLowestStart = -300.0;
constexpr double kHighestStart = 1000.0;
constexpr int32_t kLeastStep = 1;
constexpr int32_t kGreatestStep = 50;

bool IsStartInRange(double start) { return start >= kLowestStart && start <= kHighestStart; }
bool IsStepInRange(int32_t step) { return step >= kLeastStep && step <= kGreatestStep; }

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

// The text behind "=" when `rest`, less its leading blanks, begins with one.
std::optional<std::string_view> AfterEquals(std::string_view rest) {
    rest = TrimLeadingBlanks(rest);
    if (rest.empty() || rest.front() != '=') return std::nullopt;
    return rest.substr(1);
}

bool IsStartLine(std::string_view line) {
    return StartsWith(line, "Minimum RTD Temperature") || StartsWith(line, "Minimum TC Temperature") ||
           StartsWith(line, "Minimum Temperature");
}

// The order message with its line number put in place of "%d"; the pattern comes from a language
// module, so it is not handed to printf.
std::string OrderMessage(int line) {
    std::string text = LoadString(kStrRtdFileBadOrder);
    const size_t at = text.find("%d");
    if (at != std::string::npos) text.replace(at, 2, std::to_string(line));
    return text;
}

}  // namespace

void CTableFile2::Load(const std::string& path) {
    m_values.clear();
    bool startSeen = false;
    bool stepSeen = false;
    int lineNumber = 0;
    const std::string content = ReadTableFile(path, kStrRtdFileOpenFailed);
    bool inBlock = false;
    for (std::string_view raw : SplitTableLines(content)) {
        ++lineNumber;
        const std::string_view line = TrimLeadingBlanks(raw);
        if (line.empty() || line.front() == '/') continue;
        if (!inBlock) {
            if (IsStartLine(line)) {
                const auto text = AfterEquals(line.substr(line.find("ture") + 4));
                const auto start = text ? ScanTableNumber(*text) : std::nullopt;
                if (!start) continue;
                if (!IsStartInRange(*start)) throw CPrivateException(kStrRtdFileBadStart);
                m_startTemperature = *start;
                startSeen = true;
            } else if (StartsWith(line, "Step")) {
                const auto text = AfterEquals(line.substr(4));
                if (!text) continue;
                bool outOfRange = false;
                const auto step = ParseInt32Checked(*text, &outOfRange);
                if (outOfRange) throw CPrivateException(kStrRtdFileBadStep);
                if (!step) continue;
                if (!IsStepInRange(*step)) throw CPrivateException(kStrRtdFileBadStep);
                m_step = *step;
                stepSeen = true;
            } else if (line.front() == '{') {
                if (!startSeen || !stepSeen) throw CPrivateException(kStrRtdFileBadStructure);
                inBlock = true;
            }
            continue;
        }
        if (line.front() == '}') {
            if (m_values.empty()) throw CPrivateException(kStrRtdFileBadStructure);
            return;
        }
        const auto value = ScanTableNumber(line);
        if (!value) continue;
        if (m_values.size() >= kMaxValues) throw CPrivateException(kStrRtdFileTooManyValues);
        m_values.push_back(*value);
        if (m_values.size() >= 2 && !(m_values.back() > m_values[m_values.size() - 2]))
            NotifyUser(OrderMessage(lineNumber), kMessageBoxOk);
    }
    throw CPrivateException(kStrRtdFileBadStructure);
}

void CTableFile2::CheckSavable() const {
    if (m_values.empty()) throw CPrivateException(kStrTableSaveEmpty);
    if (!IsStartInRange(m_startTemperature))
        throw CPrivateException(
            FormatMessageId(kStrTableSaveBadStart, {FormatC("%.4lf", m_startTemperature)}));
    if (!IsStepInRange(m_step)) throw CPrivateException(FormatMessageId(kStrTableSaveBadStep, {m_step}));
}

void CTableFile2::Save(const std::string& path) const {
    CheckSavable();
    std::string content = FormatC("Minimum Temperature = %.4lf\r\n", m_startTemperature);
    content += FormatC("Step = %d\r\n", static_cast<int>(m_step));
    content += "{\r\n";
    for (double value : m_values) content += FormatC("%.4lf\r\n", value);
    content += "}\r\n";
    WriteTableFile(path, content, kStrRtdFileOpenFailed, kStrRtdFileWriteFailed);
}
