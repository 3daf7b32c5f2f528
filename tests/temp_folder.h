#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <csignal>
#include <sys/resource.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class CTempFolder {
public:
    CTempFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && base[0] ? base : "/tmp") + "/brimlow-test-XXXXXX";
        if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
        m_path = pattern;
    }
    ~CTempFolder() { Remove(m_path); }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    const std::string& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return m_path + "/" + name; }

    // The names in the folder, sorted.
    std::vector<std::string> List(const std::string& sub = "") const {
        std::vector<std::string> names;
        DIR* dir = opendir((sub.empty() ? m_path : m_path + "/" + sub).c_str());
        if (!dir) return names;
        while (const dirent* e = readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    static void Remove(const std::string& path) {
        struct stat st;
        if (lstat(path.c_str(), &st) != 0) return;
        if (S_ISDIR(st.st_mode)) {
            chmod(path.c_str(), 0700);
            if (DIR* dir = opendir(path.c_str())) {
                std::vector<std::string> names;
                while (const dirent* e = readdir(dir)) {
                    const std::string name = e->d_name;
                    if (name != "." && name != "..") names.push_back(name);
                }
                closedir(dir);
                for (const auto& name : names) Remove(path + "/" + name);
            }
            rmdir(path.c_str());
        } else {
            unlink(path.c_str());
        }
    }

    std::string m_path;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// While it lives, no file of this process may grow beyond `bytes`: a write past the limit fails with
// EFBIG instead of raising SIGXFSZ. Unlike a read-only folder, this stops root as well, so a test can
// make a write fail half-way as a full disk would.
class CFileSizeLimit {
public:
    explicit CFileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~CFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    CFileSizeLimit(const CFileSizeLimit&) = delete;
    CFileSizeLimit& operator=(const CFileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};
