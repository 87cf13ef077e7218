// The simulator's output files: each path is tried before the first frame runs, so that a
// long run does not end in a file it cannot write, and every failure names the reason.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "tools/sim/sim.h"

int32_t CheckOutputPath(const std::string& path, std::string* problem) {
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (std::filesystem::is_directory(status)) {
        *problem = "is a directory";
        return 0;
    }
    const bool existed = std::filesystem::exists(status);
    // Appending opens it for writing without changing what it holds.
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (!file) {
        *problem = std::strerror(errno);
        return 0;
    }
    std::fclose(file);
    if (!existed) std::remove(path.c_str());
    return 1;
}

int32_t WriteOutputFile(const std::string& path, const std::string& bytes, std::string* problem) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        *problem = std::strerror(errno);
        return 0;
    }
    // A full disk shows only when the buffer goes out, at the flush or the close.
    int32_t ok =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    int error = errno;
    if (std::fclose(file) != 0 && ok) {
        ok = 0;
        error = errno;
    }
    if (!ok) *problem = std::strerror(error ? error : EIO);
    return ok;
}
