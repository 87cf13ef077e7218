// The desktop build's settings file: one value a line, in the order written,
//   PlayerSpeed=b:01000000     raw bytes in hexadecimal (numbers are 4 bytes, little-endian)
//   PlayerName=s:Ann\x5Cb      text; bytes below 0x20, 0x7F and the backslash as \xHH
// Lines starting with '#' and empty lines are skipped. The file is read as untrusted input:
// a line that is malformed, names an unknown value, or holds a value of the wrong size or
// length is dropped with one diagnostic line, and every other value still counts.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct SettingsFileValue {
    std::string Name;
    int32_t IsText = 0;
    std::vector<uint8_t> Data; // a text's bytes end with its terminating zero
};

using SettingsFileValues = std::vector<SettingsFileValue>;

constexpr std::size_t SettingsLineLimit = 1024; // longer lines are malformed

// Each dropped line is reported with one diagnostic line unless reportProblems is 0.
SettingsFileValues ParseSettingsText(std::string_view text, int32_t reportProblems = 1);
std::string SerialiseSettings(const SettingsFileValues& values);

// Replaces or appends the value called name.
void PutSettingsValue(SettingsFileValues* values, const std::string& name, int32_t isText,
                      const void* data, uint32_t size);
const SettingsFileValue* FindSettingsValue(const SettingsFileValues& values,
                                           const std::string& name);

// 1 read, 0 no such file, -1 the file exists but cannot be read.
int32_t ReadSettingsFile(const std::string& path, std::string* content);
// Writes a temporary file next to path, flushes it to disk and renames it over path.
// Returns 1, or 0 with the old file left as it was.
int32_t ReplaceSettingsFile(const std::string& path, const std::string& content);
