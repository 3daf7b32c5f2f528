#pragma once

#include <string>
#include <string_view>

// How a whole-file write ended. On any failure the file at the target path is as it was before.
enum class WriteFileResult {
    kOk,
    kOpenFailed,   // no temporary file could be created beside the target
    kWriteFailed,  // writing, flushing, closing or renaming failed
};

// Replaces the file at `path` by `content` so that a reader or a crash never sees a half-written file:
// the bytes go to a new file in the same folder, are flushed to the disk and then renamed over the
// target. A symbolic link at `path` is followed, so the file it points to is replaced, not the link.
// An existing file keeps its permission bits; a new one gets 0666 less the umask.
WriteFileResult WriteFileAtomic(const std::string& path, std::string_view content);

enum class ReadFileResult {
    kOk,
    kMissing,  // there is no file at the path
    kFailed,   // the file exists but cannot be opened or read (permissions, a folder, an I/O error)
};

// Reads a whole file as bytes into `content`, which is left alone unless the read succeeds.
ReadFileResult ReadWholeFile(const std::string& path, std::string& content);
