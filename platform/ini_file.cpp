#include "platform/ini_file.h"

#include <algorithm>

#include "platform/atomic_file.h"

namespace {

// One line of the text: [begin, end) is its content without the line end, `next` starts the next line.
struct Line {
    size_t begin;
    size_t end;
    size_t next;
};

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

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

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

// Where a section and a key stand in the text. `sectionFound` false: no such section. Else `keyLine`
// is the key's line when found, and `lastEntry` the last section or key line of the section.
struct Location {
    bool sectionFound = false;
    std::optional<Line> keyLine;
    Line lastEntry{};
    std::string_view value;
};

// Names in the query count without their surrounding blanks, as those in the file do.
Location Locate(std::string_view text, std::string_view section, std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    Location loc;
    for (size_t pos = FirstLine(text); pos < text.size();) {
        const Line line = LineAt(text, pos);
        pos = line.next;
        const Entry e = Classify(text.substr(line.begin, line.end - line.begin));
        if (e.kind == LineKind::kSection) {
            if (loc.sectionFound) break;
            if (SameName(e.name, section)) {
                loc.sectionFound = true;
                loc.lastEntry = line;
            }
        } else if (e.kind == LineKind::kKey && loc.sectionFound) {
            loc.lastEntry = line;
            if (SameName(e.name, key)) {
                loc.keyLine = line;
                loc.value = e.value;
                break;
            }
        }
    }
    return loc;
}

std::string OneLine(std::string_view s) {
    std::string out(s);
    std::replace(out.begin(), out.end(), '\r', ' ');
    std::replace(out.begin(), out.end(), '\n', ' ');
    return out;
}

}  // namespace

std::optional<std::string> CIniFile::Find(std::string_view section, std::string_view key) const {
    const Location loc = Locate(m_text, section, key);
    if (!loc.keyLine) return std::nullopt;
    return std::string(loc.value);
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
    const Location loc = Locate(m_text, section, key);
    if (loc.keyLine) {
        m_text.replace(loc.keyLine->begin, loc.keyLine->end - loc.keyLine->begin, entry);
    } else if (loc.sectionFound) {
        // A last line without its end gets one, so that the new key starts a line of its own.
        const bool unterminated = loc.lastEntry.next == loc.lastEntry.end;
        m_text.insert(loc.lastEntry.next, (unterminated ? "\r\n" : "") + entry + "\r\n");
    } else {
        // A last line without its end gets one; a byte-order mark alone is no line.
        const bool text = m_text.size() > FirstLine(m_text);
        if (text && m_text.back() != '\n' && m_text.back() != '\r') m_text += "\r\n";
        m_text += "[" + OneLine(Trim(section)) + "]\r\n" + entry + "\r\n";
    }
}

std::string GetIniString(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view def, std::size_t bufferSize) {
    std::string text;
    ReadWholeFile(path, text);
    return CIniFile(std::move(text)).GetString(section, key, def, bufferSize);
}

bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value) {
    std::string text;
    if (ReadWholeFile(path, text) == ReadFileResult::kFailed) return false;
    CIniFile ini(std::move(text));
    ini.SetString(section, key, value);
    return WriteFileAtomic(path, ini.GetText()) == WriteFileResult::kOk;
}
