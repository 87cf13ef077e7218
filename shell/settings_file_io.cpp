// Reading and atomically replacing the desktop build's settings file (POSIX: rename over
// the old file after the new one is on disk). The Windows build keeps its settings in the
// registry and leaves this file out.
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "shell/settings_file.h"

int32_t ReadSettingsFile(const std::string& path, std::string* content) {
    content->clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return errno == ENOENT ? 0 : -1; // anything else: there, but unreadable
    char buffer[4096];
    std::size_t got;
    // Far more than any honest file; a huge file is not read to the end.
    constexpr std::size_t ReadLimit = 1 << 20;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && content->size() < ReadLimit)
        content->append(buffer, got);
    int32_t failed = std::ferror(file);
    std::fclose(file);
    return failed ? -1 : 1;
}

int32_t ReplaceSettingsFile(const std::string& path, const std::string& content) {
    std::string temporary = path + ".new";
    std::remove(temporary.c_str()); // left over from an interrupted save
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (!file) return 0;
    int32_t ok = std::fwrite(content.data(), 1, content.size(), file) == content.size();
    ok = ok && std::fflush(file) == 0;
    ok = ok && fsync(fileno(file)) == 0;
    ok = (std::fclose(file) == 0) && ok;
    if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) std::remove(temporary.c_str());
    return ok;
}
