#include "platform/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
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

// The path the data really goes to: the target of a symbolic link, else the path itself.
std::string ResolveTarget(const std::string& path) {
    if (!IsLink(path)) return path;
    char* real = realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string resolved(real);
    std::free(real);
    return resolved;
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

// Creates a file of a fresh name in `folder`; O_EXCL makes sure no existing file is reused. The name
// does not grow with the target's, so a target whose name is near the length limit can be saved too.
int CreateTemporary(const std::string& folder, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = folder + "/.brimlow-" + std::to_string(getpid()) + "-" + std::to_string(counter++) +
                   ".tmp";
        const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
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

WriteFileResult WriteFileAtomic(const std::string& path, std::string_view content) {
    const std::string target = ResolveTarget(path);
    if (!MayWrite(target)) return WriteFileResult::kNotWritable;
    const std::string folder = FolderOf(target);
    std::string tempPath;
    const int fd = CreateTemporary(folder, tempPath);
    if (fd < 0) return WriteFileResult::kOpenFailed;

    bool ok = WriteAll(fd, content);
    struct stat st;
    if (ok && stat(target.c_str(), &st) == 0) ok = fchmod(fd, st.st_mode & 07777) == 0;
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
