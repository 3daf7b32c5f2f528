#include "model/table_files/table_text.h"

#include <cmath>
#include <cstdlib>
#include <locale.h>

#include "link/file_write_failure.h"
#include "link/private_exception.h"
#include "platform/atomic_file.h"

std::vector<std::string_view> SplitTableLines(std::string_view content) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < content.size()) {
        const size_t lf = content.find('\n', pos);
        const size_t end = lf == std::string_view::npos ? content.size() : lf;
        std::string_view line = content.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        pos = lf == std::string_view::npos ? content.size() : lf + 1;
    }
    return lines;
}

std::string_view TrimLeadingBlanks(std::string_view line) {
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    return line;
}

std::optional<double> ScanTableNumber(std::string_view text, std::size_t* consumed) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string s(text);
    char* end = nullptr;
    const double d = strtod_l(s.c_str(), &end, cLocale);
    if (end == s.c_str() || !std::isfinite(d)) return std::nullopt;
    if (consumed) *consumed = static_cast<std::size_t>(end - s.c_str());
    return d;
}

std::string ReadTableFile(const std::string& path, unsigned openFailId) {
    std::string content;
    if (ReadWholeFile(path, content) != ReadFileResult::kOk) throw CPrivateException(openFailId);
    return content;
}

void WriteTableFile(const std::string& path, const std::string& content, unsigned openFailId,
                    unsigned writeFailId) {
    const WriteFileResult result = WriteFileAtomic(path, content);
    if (result == WriteFileResult::kOk) return;
    if (const std::optional<std::string> refused = RefusedWriteMessage(result, path))
        throw CPrivateException(*refused);
    throw CPrivateException(result == WriteFileResult::kOpenFailed ? openFailId : writeFailId);
}
