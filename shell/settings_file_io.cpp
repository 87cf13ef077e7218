// Reading and atomically replacing the desktop build's settings file (POSIX: rename over
// the old file after the new one is on disk). The Windows build keeps its settings in the
// registry and leaves this file out.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "shell/regular_file.h"
#include "shell/settings_file.h"

namespace {

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int32_t Fail(std::string* problem, const std::string& text) {
    if (problem) *problem = text;
    return 0;
}

int32_t WriteAll(int fd, const std::string& content) {
    std::size_t done = 0;
    while (done < content.size()) {
        ssize_t wrote = write(fd, content.data() + done, content.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return 0;
        done += static_cast<std::size_t>(wrote);
    }
    return 1;
}

} // namespace

int32_t ReadSettingsFile(const std::string& path, std::string* content, std::string* problem) {
    return ReadRegularFile(path, SettingsFileLimit, 0, content, problem);
}

std::string SettingsFileTarget(const std::string& path) {
    std::string current = path;
    // The kernel's own bound on a chain of links; a loop ends here too, and the open that
    // follows reports it.
    for (int32_t hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        ssize_t got = readlink(current.c_str(), link.data(), link.size());
        if (got <= 0 || static_cast<std::size_t>(got) >= link.size()) return current;
        link.resize(static_cast<std::size_t>(got));
        current = link[0] == '/' ? link : FolderOf(current) + "/" + link;
    }
    return current;
}

int32_t SettingsFileWritable(const std::string& target, std::string* problem) {
    struct stat st {};
    if (stat(target.c_str(), &st) == 0) {
        // Root may write anything; the mode still says what the player wants.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || access(target.c_str(), W_OK) != 0)
            return Fail(problem, "is read-only");
    }
    const std::string folder = FolderOf(target);
    if (stat(folder.c_str(), &st) == 0 && ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                                           access(folder.c_str(), W_OK | X_OK) != 0))
        return Fail(problem, "is in a read-only folder");
    return 1;
}

int32_t ReplaceSettingsFile(const std::string& target, const std::string& content, int32_t locked,
                            std::string* problem) {
    struct stat old {};
    const int32_t hadOld = stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    // Under the folder's lock no other copy writes, so a fixed name is safe and what an
    // interrupted save left behind is cleared; without it each copy needs a name of its own.
    std::string temporary = target + ".new";
    int fd = -1;
    if (locked) {
        unlink(temporary.c_str());
        fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    } else {
        temporary += "-XXXXXX";
        fd = mkostemp(temporary.data(), O_CLOEXEC);
        // mkstemp makes the file private; a new settings file gets the usual mode.
        if (fd >= 0 && !hadOld) {
            mode_t mask = umask(0);
            umask(mask);
            fchmod(fd, 0666 & ~mask);
        }
    }
    if (fd < 0) return Fail(problem, std::strerror(errno));
    int32_t ok = 1;
    if (hadOld) {
        // The new file takes the old one's place with its mode and, where allowed, owner.
        if (old.st_uid != geteuid() || old.st_gid != getegid())
            (void)!fchown(fd, old.st_uid, old.st_gid);
        ok = fchmod(fd, old.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd, content) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = 0;
        error = errno;
    }
    if (ok && rename(temporary.c_str(), target.c_str()) != 0) {
        ok = 0;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Fail(problem, std::strerror(error));
    }
    // The rename itself reaches the disk with the folder.
    int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return 1;
}

int32_t LockSettingsFolder(const std::string& target) {
    int fd = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return -1;
    // A copy that holds the lock longer is stuck; waiting for it forever would hang this one.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() > giveUp) {
            close(fd);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return fd;
}

void UnlockSettingsFolder(int32_t handle) {
    if (handle >= 0) close(handle); // closing drops the lock
}
