#include "platform/profile.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/c_number.h"
#include "platform/ini_file.h"

namespace {

constexpr char kCompany[] = "Orvesk";
constexpr char kFileName[] = "brimlow.ini";
// Registry values had no length limit worth the name; this only bounds a damaged file.
constexpr std::size_t kValueSize = 4096;

// Read-modify-write of the profile happens from more than one thread.
std::mutex g_profileMutex;
// A profile that was there but could not be read, guarded by the mutex: from then on it is never
// written, so that settings the program could not see are not replaced by its defaults.
std::string g_unreadablePath;

std::string ConfigHome() {
    // A relative XDG_CONFIG_HOME is invalid and ignored, as the base directory convention asks.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0') return std::string(home) + "/.config";
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return std::string(pw->pw_dir) + "/.config";
    return ".config";
}

std::string ProfileFolder() { return ConfigHome() + "/" + kCompany; }

// Creates the folder and every missing parent, private to the user as configuration folders are.
bool MakeFolders(const std::string& folder) {
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos != folder.size() && folder[pos] != '/') continue;
        const std::string part = folder.substr(0, pos);
        if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string ProfilePath() { return ProfileFolder() + "/" + kFileName; }

std::string GetProfileString(const std::string& section, const std::string& key, const std::string& def) {
    std::lock_guard<std::mutex> lock(g_profileMutex);
    bool unreadable = false;
    std::string value = GetIniString(ProfilePath(), section, key, def, kValueSize, &unreadable);
    if (unreadable) g_unreadablePath = ProfilePath();
    return value;
}

bool ProfileUnreadable() {
    std::lock_guard<std::mutex> lock(g_profileMutex);
    return g_unreadablePath == ProfilePath();
}

int GetProfileInt(const std::string& section, const std::string& key, int def) {
    const std::string text = GetProfileString(section, key, std::string());
    return ParseInt32Checked(text).value_or(def);
}

bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value,
                        WriteFileResult* result) {
    std::lock_guard<std::mutex> lock(g_profileMutex);
    if (g_unreadablePath == ProfilePath()) return false;
    const WriteFileResult written = MakeFolders(ProfileFolder())
                                        ? WriteIniString(ProfilePath(), section, key, value)
                                        : WriteFileResult::kOpenFailed;
    if (result) *result = written;
    return written == WriteFileResult::kOk;
}

bool WriteProfileInt(const std::string& section, const std::string& key, int value, WriteFileResult* result) {
    return WriteProfileString(section, key, std::to_string(value), result);
}
