// Reading a file that the player may have replaced by anything: only a regular file is read,
// and nothing on the way can block (a FIFO, a terminal or a device is refused unopened for
// reading).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

constexpr int32_t FileRead = 1;
constexpr int32_t FileMissing = 0;
constexpr int32_t FileUnusable = -1; // there, but not a regular file, too large or unreadable

// Reads the file at path into *bytes. A file larger than limit is unusable, unless
// prefixOnly is set: then only its first limit bytes are read. On FileUnusable, *problem (when
// given) says why in words that follow the path: "is a FIFO, not a regular file".
int32_t ReadRegularFile(const std::string& path, std::size_t limit, int32_t prefixOnly,
                        std::string* bytes, std::string* problem = nullptr);
