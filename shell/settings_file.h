// The desktop build's settings file: one value a line, in the order written,
//   PlayerSpeed=b:01000000     raw bytes in hexadecimal (numbers are 4 bytes, little-endian)
//   PlayerName=s:Ann\x5Cb      text; bytes below 0x20, 0x7F and the backslash as \xHH
// Lines starting with '#' and empty lines are skipped. The file is read as untrusted input:
// a line that is malformed, or holds one of the game's values with the wrong type or size,
// is dropped with one diagnostic line, and every other value still counts. Well-formed
// values of other names (another build's) are kept as they stand.
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
// Far more than any honest file; a larger one is left alone, neither read nor replaced.
constexpr std::size_t SettingsFileLimit = 16u << 20;

// Each dropped line is reported with one diagnostic line unless reportProblems is 0 (after
// a hundred, one line says that the rest go unreported). Linear in the text's length.
SettingsFileValues ParseSettingsText(std::string_view text, int32_t reportProblems = 1);
std::string SerialiseSettings(const SettingsFileValues& values);

// The text to save when the stored text is `now` and this session holds `ours`, of which it
// wrote the values named in `written`. Every line of `now` stays as it is (comments, lines
// it cannot read, values of other builds) except those naming a written value, which take
// this session's value; written values it lacks are added at its end. A written high-score
// table is merged with the stored one: the ten best of both, an entry held by both counted
// once. An empty `now` gives all of `ours`.
std::string MergeSettingsText(std::string_view now, const SettingsFileValues& ours,
                              const std::vector<std::string>& written);

// Replaces or appends the value called name.
void PutSettingsValue(SettingsFileValues* values, const std::string& name, int32_t isText,
                      const void* data, uint32_t size);
const SettingsFileValue* FindSettingsValue(const SettingsFileValues& values,
                                           const std::string& name);

// The file I/O of the settings file (POSIX; the Windows build keeps its settings in the
// registry). Each failure gives its reason in *problem when asked.
//
// 1 read, 0 no such file, -1 the file is there but unusable: not a regular file, larger
// than SettingsFileLimit, or unreadable.
int32_t ReadSettingsFile(const std::string& path, std::string* content,
                         std::string* problem = nullptr);
// The file a settings path stands for: the last target of its chain of symbolic links
// (which may not exist yet), or the path itself.
std::string SettingsFileTarget(const std::string& path);
// 1 when the settings file at target (a SettingsFileTarget) may be replaced: a file whose
// mode grants no one writing, one this user cannot write, or a folder that cannot take a new
// file makes it read-only, even for root.
int32_t SettingsFileWritable(const std::string& target, std::string* problem = nullptr);
// Writes a temporary file next to target, with the old file's mode (and owner, as far as
// allowed), flushes it to disk and renames it over target; `locked` says the folder's lock is
// held. Returns 1, or 0 with the old file left as it was.
int32_t ReplaceSettingsFile(const std::string& target, const std::string& content,
                            int32_t locked = 1, std::string* problem = nullptr);
// Holds off other copies of the game saving into the same folder, for at most a few seconds;
// gives a handle for UnlockSettingsFolder (-1 when no lock was taken: the save goes on).
int32_t LockSettingsFolder(const std::string& target);
void UnlockSettingsFolder(int32_t handle);
