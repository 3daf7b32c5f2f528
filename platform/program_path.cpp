#include "platform/program_path.h"

#include <unistd.h>

#include <vector>

std::string ProgramPath() {
    std::vector<char> buffer(4096);
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size()) return std::string();
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

std::string ProgramDirectory() {
    const std::string path = ProgramPath();
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string AdminMarkerPath(const std::string& programPath) {
    const std::size_t slash = programPath.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = programPath.find_last_of('.');
    // A leading dot makes a hidden name, not an extension.
    if (dot != std::string::npos && dot > nameStart) return programPath.substr(0, dot) + ".adm";
    return programPath + ".adm";
}
