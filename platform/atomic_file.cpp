#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <fcntl.h>
#include <optional>
#include <set>
#include <utility>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A link whose file is not there (a drive not mounted, a folder moved) is a file that cannot be read,
// not a missing one that a write may create in the link's place.
bool IsLink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// What the symbolic link at `path` points to; nothing when `path` is no link.
std::optional<std::string> LinkContent(const std::string& path) {
    char buffer[PATH_MAX + 1];
    const ssize_t n = readlink(path.c_str(), buffer, sizeof buffer);
    if (n <= 0 || static_cast<size_t>(n) >= sizeof buffer) return std::nullopt;
    return std::string(buffer, static_cast<size_t>(n));
}

// Follows the links from `path` as an open would: kLinkLoop when one of them comes round again,
// kTooManyLinks when there are more in a row than the kernel follows, kOk otherwise.
WriteFileResult FollowLinks(const std::string& path, std::string& end) {
    end = path;
    std::set<std::pair<dev_t, ino_t>> seen;
    for (int hops = 0;; ++hops) {
        const std::optional<std::string> content = LinkContent(end);
        if (!content) return WriteFileResult::kOk;
        struct stat st;
        if (lstat(end.c_str(), &st) == 0 && !seen.emplace(st.st_dev, st.st_ino).second)
            return WriteFileResult::kLinkLoop;
        if (hops == kMaxFollowedLinks) return WriteFileResult::kTooManyLinks;
        end = content->front() == '/' ? *content : FolderOf(end) + "/" + *content;
    }
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder that is not there, or a plain file where it should be; a folder that is there but cannot be
// searched is the write's affair.
bool FolderMissing(const std::string& folder) {
    struct stat st;
    if (stat(folder.c_str(), &st) != 0) return errno == ENOENT || errno == ENOTDIR;
    return !S_ISDIR(st.st_mode);
}

bool WriteAll(int fd, std::string_view content) {
    size_t done = 0;
    while (done < content.size()) {
        const ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

// Creates a file of a fresh name and the permission bits `mode` (less the umask) in `folder`; O_EXCL
// makes sure no existing file is reused. The name does not grow with the target's, so a target whose
// name is near the length limit can be saved too.
int CreateTemporary(const std::string& folder, mode_t mode, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/.brimlow-" + std::to_string(getpid()) + "-" + std::to_string(counter++) +
                   ".tmp";
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Whether this process may write the file, judged as the kernel judges an open for writing: by the
// effective user and groups. A missing file is the folder's affair.
bool MayWrite(const std::string& target) {
    if (faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) == 0) return true;
    return errno != EACCES && errno != EPERM;
}

void SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The rename has happened; a failure to flush the folder entry cannot be undone, so it is not reported.
    (void)fsync(fd);
    close(fd);
}

}  // namespace

std::string WriteTarget(const std::string& path) {
    std::string end;
    FollowLinks(path, end);
    return end;
}

WriteFileResult CheckWritable(const std::string& path, std::string* target) {
    std::string end;
    const WriteFileResult followed = FollowLinks(path, end);
    if (target) *target = end;
    if (followed != WriteFileResult::kOk) return followed;
    // The file the link names cannot be made there, and saving in the link's place would replace it.
    if (end != path && FolderMissing(FolderOf(end))) return WriteFileResult::kLinkToMissingFolder;
    if (end != path && IsFolder(end)) return WriteFileResult::kLinkToFolder;
    return MayWrite(end) ? WriteFileResult::kOk : WriteFileResult::kNotWritable;
}

WriteFileResult WriteFileAtomic(const std::string& path, std::string_view content) {
    std::string target;
    if (const WriteFileResult check = CheckWritable(path, &target); check != WriteFileResult::kOk)
        return check;
    const std::string folder = FolderOf(target);
    struct stat st;
    const bool exists = stat(target.c_str(), &st) == 0;
    // A private file's new content must never stand in a file others may read, not even before the
    // mode is copied: the temporary is made no more open than the target.
    std::string tempPath;
    const int fd = CreateTemporary(folder, exists ? st.st_mode & 0777 : 0666, tempPath);
    if (fd < 0) return WriteFileResult::kOpenFailed;

    bool ok = WriteAll(fd, content);
    // After the write, which takes away the set-user and set-group bits, and whole, as the umask may
    // have narrowed the bits the file was made with.
    if (ok && exists) ok = fchmod(fd, st.st_mode & 07777) == 0;
    if (ok) ok = fsync(fd) == 0;
    if (close(fd) != 0) ok = false;
    if (ok) ok = rename(tempPath.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(tempPath.c_str());
        return WriteFileResult::kWriteFailed;
    }
    SyncFolder(folder);
    return WriteFileResult::kOk;
}

ReadFileResult ReadWholeFile(const std::string& path, std::string& content, std::size_t maxSize) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // ENOTDIR: a plain file stands where a folder of the path should, so there is no file either.
        const bool missing = (errno == ENOENT || errno == ENOTDIR) && !IsLink(path);
        return missing ? ReadFileResult::kMissing : ReadFileResult::kFailed;
    }
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uintmax_t>(st.st_size) > maxSize) {
        close(fd);
        return ReadFileResult::kTooLarge;
    }
    std::string data;
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        data.append(buffer, static_cast<size_t>(n));
        // A file that grows while it is read, or one whose size is not known beforehand.
        if (data.size() > maxSize) break;
    }
    close(fd);
    if (!ok) return ReadFileResult::kFailed;
    if (data.size() > maxSize) return ReadFileResult::kTooLarge;
    content = std::move(data);
    return ReadFileResult::kOk;
}
