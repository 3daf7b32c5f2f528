#include "link/serial_io_failure.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {
// The name of the group that may read and write the node; "" when the group has no such right or no
// name, as joining it would not help then.
std::string AccessGroup(const std::string& path) {
    struct stat st {};
    constexpr mode_t kGroupReadWrite = S_IRGRP | S_IWGRP;
    if (stat(path.c_str(), &st) != 0 || (st.st_mode & kGroupReadWrite) != kGroupReadWrite) return "";
    long size = sysconf(_SC_GETGR_R_SIZE_MAX);
    if (size <= 0) size = 16384;
    std::vector<char> buffer(static_cast<std::size_t>(size));
    group entry{};
    group* found = nullptr;
    if (getgrgid_r(st.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr)
        return "";
    return found->gr_name;
}
}  // namespace

std::string PortOpenFailureMessage(int error, const std::string& path, const std::string& shownName) {
    switch (error) {
        case EBUSY:
        case EWOULDBLOCK: return FormatMessageId(kStrPortBusy, {shownName});
        case EACCES:
        case EPERM: {
            const std::string group = AccessGroup(path);
            if (group.empty()) return FormatMessageId(kStrPortNoAccess, {shownName});
            return FormatMessageId(kStrPortNoAccessGroup, {shownName, group});
        }
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case ENOTDIR: return FormatMessageId(kStrPortMissing, {shownName});
        default: {
            std::string text = LoadString(kStrPortOpenFailed);
            const auto at = text.find("%s");
            if (at != std::string::npos) text.replace(at, 2, shownName);
            return text;
        }
    }
}
