#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

// How a whole-file write ended. On any failure the file at the target path is as it was before.
enum class WriteFileResult {
    kOk,
    kOpenFailed,           // no temporary file could be created beside the target
    kWriteFailed,          // writing, flushing, closing or renaming failed
    kNotWritable,          // the file is there but this user may not write it (read-only, another user's)
    kLinkToMissingFolder,  // a symbolic link to a file whose folder is not there (a drive not mounted)
    kLinkLoop,             // a symbolic link whose links lead round in a circle
    kTooManyLinks,         // a chain of more symbolic links than the system follows
    kLinkToFolder,         // a symbolic link to a folder
};

// The kernel's own limit of links followed in a row: a longer chain cannot be opened either.
inline constexpr int kMaxFollowedLinks = 40;

// Replaces the file at `path` by `content` so that a reader or a crash never sees a half-written file:
// the bytes go to a new file in the same folder, are flushed to the disk and then renamed over the
// target. A symbolic link at `path`, or a chain of them, is followed, so the file it points to is
// replaced (or made), never the link; a link that cannot be followed to a folder that is there is
// refused, as the rename would put a plain file in its place; so is a link to a folder. An existing file
// keeps its permission bits, and its new content never stands in a file more open than it; a new one gets
// 0666 less the umask. A file the user may not write is refused, though the rename could replace it in a
// folder the user may write.
WriteFileResult WriteFileAtomic(const std::string& path, std::string_view content);

// Where a write to `path` goes: the end of its chain of symbolic links (a relative link counts from the
// folder it stands in), or the path itself when it is no link. The end need not exist.
std::string WriteTarget(const std::string& path);

// Whether a write to `path` may go ahead, judged as WriteFileAtomic judges it before it writes anything:
// kOk, kNotWritable or one of the link refusals. `target`, when given, receives WriteTarget(path).
WriteFileResult CheckWritable(const std::string& path, std::string* target = nullptr);

enum class ReadFileResult {
    kOk,
    kMissing,   // there is no file at the path, nor a link
    kFailed,    // the file exists but cannot be opened or read (permissions, a folder, a link to nothing,
                // an I/O error)
    kTooLarge,  // the file holds more than the reader accepts
};

// Reads a whole file as bytes into `content`, which is left alone unless the read succeeds. A file of
// more than `maxSize` bytes is refused before it is read.
ReadFileResult ReadWholeFile(const std::string& path, std::string& content,
                             std::size_t maxSize = std::numeric_limits<std::size_t>::max());
