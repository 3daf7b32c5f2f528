#include "platform/ini_file.h"

#include <algorithm>

#include "platform/atomic_file.h"

namespace {

using Line = CIniFile::Line;

enum class LineKind { kOther, kSection, kKey };

struct Entry {
    LineKind kind;
    std::string_view name;
    std::string_view value;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view StripQuotes(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

// A line ends in CR LF, LF or a lone CR, as Windows reads it; the last may lack its end.
Line LineAt(std::string_view text, size_t pos) {
    const size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) return {pos, text.size(), text.size()};
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    return {pos, end, end + (crlf ? 2 : 1)};
}

// Some editors begin a file with a UTF-8 byte-order mark; it belongs to no line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

size_t FirstLine(std::string_view text) {
    return text.substr(0, kByteOrderMark.size()) == kByteOrderMark ? kByteOrderMark.size() : 0;
}

Entry Classify(std::string_view content) {
    const std::string_view s = Trim(content);
    if (s.empty() || s.front() == ';') return {LineKind::kOther, {}, {}};
    if (s.front() == '[') {
        const size_t close = s.rfind(']');
        if (close == std::string_view::npos) return {LineKind::kOther, {}, {}};
        return {LineKind::kSection, Trim(s.substr(1, close - 1)), {}};
    }
    const size_t eq = s.find('=');
    if (eq == std::string_view::npos) return {LineKind::kOther, {}, {}};
    return {LineKind::kKey, Trim(s.substr(0, eq)), StripQuotes(Trim(s.substr(eq + 1)))};
}

std::string Lowered(std::string_view name) {
    std::string out(name);
    std::transform(out.begin(), out.end(), out.begin(), LowerAscii);
    return out;
}

// A line that is not a key, section or comment but a name alone: readers skip it, yet it holds the
// name's place, so a write of that name replaces it.
std::optional<std::string_view> BareName(std::string_view content) {
    const std::string_view s = Trim(content);
    if (s.empty() || s.front() == ';' || s.front() == '[' || s.find('=') != std::string_view::npos)
        return std::nullopt;
    return s;
}

std::string OneLine(std::string_view s) {
    std::string out(s);
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

}  // namespace

CIniFile::CIniFile(std::string text) : m_text(std::move(text)) { Index(); }

// One pass over the text. Only the first section of a name counts, and in it the first line of a name.
void CIniFile::Index() {
    m_sections.clear();
    const std::string_view text = m_text;
    Section* current = nullptr;
    for (size_t pos = FirstLine(text); pos < text.size();) {
        const Line line = LineAt(text, pos);
        pos = line.next;
        const std::string_view content = text.substr(line.begin, line.end - line.begin);
        const Entry e = Classify(content);
        if (e.kind == LineKind::kSection) {
            const auto [it, fresh] = m_sections.try_emplace(Lowered(e.name));
            current = fresh ? &it->second : nullptr;
            if (current) current->lastEntry = line;
        } else if (!current) {
            continue;
        } else if (e.kind == LineKind::kKey) {
            current->lastEntry = line;
            Key& key = current->keys.try_emplace(Lowered(e.name), Key{std::nullopt, 0, line}).first->second;
            if (!key.valueBegin) {
                key.valueBegin = static_cast<size_t>(e.value.data() - text.data());
                key.valueSize = e.value.size();
            }
        } else if (const std::optional<std::string_view> bare = BareName(content)) {
            current->keys.try_emplace(Lowered(*bare), Key{std::nullopt, 0, line});
        }
    }
}

// Names in the query count without their surrounding blanks, as those in the file do.
bool CIniFile::HasSection(std::string_view section) const {
    return m_sections.count(Lowered(Trim(section))) != 0;
}

std::optional<std::string> CIniFile::Find(std::string_view section, std::string_view key) const {
    const auto s = m_sections.find(Lowered(Trim(section)));
    if (s == m_sections.end()) return std::nullopt;
    const auto k = s->second.keys.find(Lowered(Trim(key)));
    if (k == s->second.keys.end() || !k->second.valueBegin) return std::nullopt;
    return m_text.substr(*k->second.valueBegin, k->second.valueSize);
}

std::string CIniFile::GetString(std::string_view section, std::string_view key, std::string_view def,
                                std::size_t bufferSize) const {
    // Windows drops a default's trailing blanks, not those of a value found.
    while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
    std::string value = Find(section, key).value_or(std::string(def));
    if (bufferSize == 0) return std::string();
    if (value.size() > bufferSize - 1) value.resize(bufferSize - 1);
    return value;
}

void CIniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
    const std::string entry = OneLine(Trim(key)) + "=" + OneLine(value);
    const auto s = m_sections.find(Lowered(Trim(section)));
    if (s != m_sections.end()) {
        const auto k = s->second.keys.find(Lowered(Trim(key)));
        if (k != s->second.keys.end()) {
            const Line& line = k->second.line;
            m_text.replace(line.begin, line.end - line.begin, entry);
        } else {
            // A last line without its end gets one, so that the new key starts a line of its own.
            const Line& last = s->second.lastEntry;
            const bool unterminated = last.next == last.end;
            m_text.insert(last.next, (unterminated ? "\r\n" : "") + entry + "\r\n");
        }
    } else {
        // A last line without its end gets one; a byte-order mark alone is no line.
        const bool text = m_text.size() > FirstLine(m_text);
        if (text && m_text.back() != '\n' && m_text.back() != '\r') m_text += "\r\n";
        m_text += "[" + OneLine(Trim(section)) + "]\r\n" + entry + "\r\n";
    }
    Index();
}

std::string GetIniString(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view def, std::size_t bufferSize, bool* unreadable) {
    std::string text;
    const ReadFileResult read = ReadWholeFile(path, text);
    if (unreadable) *unreadable = read != ReadFileResult::kOk && read != ReadFileResult::kMissing;
    return CIniFile(std::move(text)).GetString(section, key, def, bufferSize);
}

WriteFileResult WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view value) {
    // The text to change is read where the write will go, so a link to a file not made yet gives a new
    // file there and one that leads nowhere is refused before anything is read.
    std::string target;
    if (const WriteFileResult check = CheckWritable(path, &target); check != WriteFileResult::kOk)
        return check;
    std::string text;
    if (ReadWholeFile(target, text) == ReadFileResult::kFailed) return WriteFileResult::kWriteFailed;
    CIniFile ini(std::move(text));
    ini.SetString(section, key, value);
    return WriteFileAtomic(target, ini.GetText());
}
