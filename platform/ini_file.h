#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The text of an INI file, read and changed with the semantics of the Windows private-profile functions,
// so that files written there load identically here:
// - section and key names compare case-insensitively (ASCII); blanks and tabs around names, in the file
//   and in the query, and around values do not count; a value enclosed in matching double or single
//   quotes loses them; a default loses its trailing blanks;
// - the first section of a name, and in it the first key of a name, win;
// - lines whose first character is ';' are comments, a line without '=' is no key, a line "[name"
//   without ']' no section; lines end in CR LF, LF or a lone CR, the last may lack its end; a UTF-8
//   byte-order mark at the start is skipped.
// A change replaces the key's line in place and leaves every other byte as it was; a missing key goes
// after the last entry of its section, a missing section to the end. New lines end in CR LF.
// Text is bytes: nothing is converted.
class CIniFile {
public:
    CIniFile() = default;
    explicit CIniFile(std::string text) : m_text(std::move(text)) {}

    const std::string& GetText() const { return m_text; }

    std::optional<std::string> Find(std::string_view section, std::string_view key) const;

    // The value, or `def` when there is none, cut to `bufferSize` - 1 bytes as a buffer of that size is.
    std::string GetString(std::string_view section, std::string_view key, std::string_view def,
                          std::size_t bufferSize) const;

    // CR and LF in the names or the value become blanks: they would end the line and could even make
    // a value read back as a section or key of its own.
    void SetString(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string m_text;
};

// One value of the INI file at `path`; a missing or unreadable file gives `def` as a missing key does.
std::string GetIniString(const std::string& path, std::string_view section, std::string_view key,
                         std::string_view def, std::size_t bufferSize);

// Sets one value in the INI file at `path`, creating the file when it is missing. The file is replaced
// as a whole (WriteFileAtomic). Returns false when it could not be read or written; it is then unchanged.
bool WriteIniString(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view value);
