#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Text handling shared by the two table file classes.

// The lines of a file read in binary: split at LF, one CR before it removed. A last line without LF
// counts when it is not empty. Ctrl-Z is an ordinary byte.
std::vector<std::string_view> SplitTableLines(std::string_view content);

// Removes every leading space and tab.
std::string_view TrimLeadingBlanks(std::string_view line);

// Reads a number at the start of `text` as "%lf" does (leading white space, sign, decimal or hex form,
// C locale). A non-finite number (nan, inf, 1e400) counts as no number. `*consumed` receives how many
// bytes the number took, white space included.
std::optional<double> ScanTableNumber(std::string_view text, std::size_t* consumed = nullptr);

// Reads the whole file or throws CPrivateException(openFailId).
std::string ReadTableFile(const std::string& path, unsigned openFailId);

// Replaces the file by `content` as a whole (WriteFileAtomic), so a failed save leaves the old file.
// Throws CPrivateException(openFailId) when no file can be created there, writeFailId when writing fails,
// and the reason when the write is refused (a file the user may not write, a link that leads nowhere).
void WriteTableFile(const std::string& path, const std::string& content, unsigned openFailId,
                    unsigned writeFailId);
