#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <functional>
#include <string>

// The ordinary user a superuser's child becomes: "nobody", with its group.
inline constexpr uid_t kNobodyId = 65534;

// The user RunAsUser(kNobodyId, kNobodyId, ...) runs its work as, to whom a test gives its files.
inline uid_t ChildUserId() { return geteuid() == 0 ? kNobodyId : geteuid(); }

// Runs `work` in a child process as an ordinary user and gives back the text it returned. The superuser
// may open and write any file, so its child gives up root's supplementary groups and becomes `uid` and
// `gid` first; any other user's child stays that user. What goes wrong on the way (no child, root not
// given up, a throw, an abnormal end) comes back as a text in angle brackets, which no work returns.
inline std::string RunAsUser(uid_t uid, gid_t gid, const std::function<std::string()>& work) {
    int fds[2];
    if (pipe(fds) != 0) return "<no pipe>";
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return "<no child>";
    }
    if (child == 0) {
        close(fds[0]);
        std::string text;
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)) {
            text = "<still root>";
        } else {
            try {
                text = work();
            } catch (const std::exception& e) {
                text = std::string("<threw> ") + e.what();
            }
        }
        for (size_t done = 0; done < text.size();) {
            const ssize_t n = write(fds[1], text.data() + done, text.size() - done);
            if (n <= 0) _exit(1);
            done += static_cast<size_t>(n);
        }
        _exit(0);
    }
    close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    close(fds[0]);
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "<child ended abnormally>";
    return text;
}
