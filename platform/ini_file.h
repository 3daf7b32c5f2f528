#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/atomic_file.h"

// The text of an INI file, read and changed with the semantics of the Windows private-profile functions,
// so that files written there load identically here:
// - section and key names compare case-insensitively (ASCII); blanks and tabs around names, in the file
//   and in the query, and around values do not count; a value enclosed in matching double or single
//   quotes loses them; a default loses its trailing blanks;
// - the first section of a name, and in it the first key of a name, win;
// - lines whose first character is ';' are comments, a line without '=' is no key, a line "[name"
//   without ']' no section; lines end in CR LF, LF or a lone CR, the last may lack its end; a UTF-8
//   byte-order mark at the start is skipped.
// A change replaces the key's line in place and leaves every other byte as it was; a line holding the
// key's name alone counts as that key there. A missing key goes after the last entry of its section, a
// missing section to the end. New lines end in CR LF. Text is bytes: nothing is converted.
// The text is indexed once, when it is given or changed, so a lookup costs the same in any file.
class CIniFile {
public:
    CIniFile() = default;
    explicit CIniFile(std::string text);

    const std::string& GetText() const { return m_text; }

    bool HasSection(std::string_view section) const;
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // The value, or `def` when there is none, cut to `bufferSize` - 1 bytes as a buffer of that size is.
    std::string GetString(std::string_view section, std::string_view key, std::string_view def,
                          std::size_t bufferSize) const;

    // CR and LF in the names or the value become blanks: they would end the line and could even make
    // a value read back as a section or key of its own.
    void SetString(std::string_view section, std::string_view key, std::string_view value);

    // Offsets into the text, so that a copied or moved object stays valid.
    struct Line {
        std::size_t begin = 0;  // the content, without the line end, is [begin, end)
        std::size_t end = 0;
        std::size_t next = 0;  // where the next line starts
    };

private:
    // What a name stands for in its section: the value of its first key line, when there is one, for
    // reading, and its first line, key or bare name, for writing.
    struct Key {
        std::optional<std::size_t> valueBegin;
        std::size_t valueSize = 0;
        Line line;
    };
    struct Section {
        Line lastEntry;  // the section line or its last key line
        std::unordered_map<std::string, Key> keys;
    };

    void Index();

    std::string m_text;
    // The first section of each name, by name in lower case; later ones are never read.
    std::unordered_map<std::string, Section> m_sections;
};

// One value of the INI file at `path`; a missing or unreadable file gives `def` as a missing key does.
// `unreadable`, when given, tells the two apart: it becomes true when the file is there but could not
// be read.
std::string GetIniString(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view def, std::size_t bufferSize, bool* unreadable = nullptr);

// Sets one value in the INI file at `path`, creating the file when it is missing. The file is replaced
// as a whole and refused as WriteFileAtomic refuses it; it is unchanged unless kOk is returned.
// kWriteFailed also stands for a file that could not be read, whose other values a write would lose.
WriteFileResult WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                               std::string_view value);
