#include "shell/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <cstdio>
#include <filesystem>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

void Say(std::string* problem, const std::string& text) {
    if (problem) *problem = text;
}

std::string SizeInWords(std::size_t limit) {
    if (limit >= (1u << 20) && limit % (1u << 20) == 0) return std::to_string(limit >> 20) + " MiB";
    return std::to_string(limit) + " bytes";
}

} // namespace

#ifdef _WIN32

// Windows has no FIFOs in the file system; a folder or a device is what to refuse.
int32_t ReadRegularFile(const std::string& path, std::size_t limit, int32_t prefixOnly,
                        std::string* bytes, std::string* problem) {
    bytes->clear();
    std::error_code error;
    auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) return FileMissing;
    if (status.type() == std::filesystem::file_type::directory) {
        Say(problem, "is a folder, not a regular file");
        return FileUnusable;
    }
    if (status.type() != std::filesystem::file_type::regular) {
        Say(problem, "is not a regular file");
        return FileUnusable;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        Say(problem, std::string("could not be opened: ") + std::strerror(errno));
        return FileUnusable;
    }
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes->append(buffer, got);
        if (bytes->size() > limit) break;
    }
    int32_t failed = std::ferror(file);
    std::fclose(file);
    if (failed) {
        Say(problem, "could not be read to its end");
        return FileUnusable;
    }
    if (bytes->size() > limit) {
        if (!prefixOnly) {
            Say(problem, "is larger than " + SizeInWords(limit));
            bytes->clear();
            return FileUnusable;
        }
        bytes->resize(limit);
    }
    return FileRead;
}

#else

namespace {

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a regular file";
    if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
    if (S_ISSOCK(mode)) return "is a socket, not a regular file";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "is a device, not a regular file";
    return "is not a regular file";
}

} // namespace

int32_t ReadRegularFile(const std::string& path, std::size_t limit, int32_t prefixOnly,
                        std::string* bytes, std::string* problem) {
    bytes->clear();
    // O_NONBLOCK: opening a FIFO without a writer, or a device, must not wait. It means
    // nothing for a regular file, the only kind that is then read.
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return FileMissing;
        Say(problem, std::string("could not be opened: ") + std::strerror(errno));
        return FileUnusable;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        Say(problem, std::string("could not be examined: ") + std::strerror(errno));
        close(fd);
        return FileUnusable;
    }
    if (!S_ISREG(st.st_mode)) {
        Say(problem, KindOf(st.st_mode));
        close(fd);
        return FileUnusable;
    }
    auto tooLarge = [&](std::size_t size) { return !prefixOnly && size > limit; };
    if (tooLarge(static_cast<std::size_t>(st.st_size))) {
        Say(problem, "is larger than " + SizeInWords(limit));
        close(fd);
        return FileUnusable;
    }
    // The size is a hint only: the file may grow or shrink while it is read.
    bytes->reserve(std::min(static_cast<std::size_t>(st.st_size), limit));
    char buffer[65536];
    for (;;) {
        std::size_t want = sizeof buffer;
        if (prefixOnly) want = std::min(want, limit - bytes->size());
        if (want == 0) break;
        ssize_t got = read(fd, buffer, want);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            Say(problem, std::string("could not be read to its end: ") + std::strerror(errno));
            close(fd);
            bytes->clear();
            return FileUnusable;
        }
        if (got == 0) break;
        bytes->append(buffer, static_cast<std::size_t>(got));
        if (tooLarge(bytes->size())) {
            Say(problem, "is larger than " + SizeInWords(limit));
            close(fd);
            bytes->clear();
            return FileUnusable;
        }
    }
    close(fd);
    return FileRead;
}

#endif
