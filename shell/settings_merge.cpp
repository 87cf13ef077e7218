// What a save writes when the settings file may have changed since it was read: another
// copy of the game has quit meanwhile, or the player has edited the file.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "game/game_record.h"
#include "shell/settings_file.h"

namespace {

struct TableEntry {
    std::string Name; // without its terminating zero
    int32_t Score = 0;
    bool operator==(const TableEntry&) const = default;
};

std::string EntryValueName(const char* format, int32_t n) {
    char name[32];
    std::snprintf(name, sizeof name, format, static_cast<int>(n));
    return name;
}

int32_t IsTableValue(const std::string& name) {
    for (int32_t n = 1; n <= HighScoreEntries; ++n)
        if (name == EntryValueName("PlayerName%02d", n) ||
            name == EntryValueName("PlayerScore%02d", n))
            return 1;
    return 0;
}

// The entries whose name and score are both there and whole, in table order.
std::vector<TableEntry> TableOf(const SettingsFileValues& values) {
    std::vector<TableEntry> table;
    for (int32_t n = 1; n <= HighScoreEntries; ++n) {
        const SettingsFileValue* name =
            FindSettingsValue(values, EntryValueName("PlayerName%02d", n));
        const SettingsFileValue* score =
            FindSettingsValue(values, EntryValueName("PlayerScore%02d", n));
        if (!name || !score || !name->IsText || score->IsText || score->Data.size() != 4 ||
            name->Data.empty() || name->Data.size() > HighScoreNameSize || name->Data.back() != 0)
            continue;
        const auto* text = reinterpret_cast<const char*>(name->Data.data());
        const uint8_t* s = score->Data.data();
        table.push_back({std::string(text, strnlen(text, name->Data.size())),
                         static_cast<int32_t>(static_cast<uint32_t>(s[0]) | s[1] << 8 | s[2] << 16 |
                                              static_cast<uint32_t>(s[3]) << 24)});
    }
    return table;
}

// The ten best of both tables. An entry stands for one game's score: the file holds the
// entries this session read from it as well, so an entry in both counts as many times as the
// table holding it more often has it, not as the sum. Among equal scores the entries only
// one table holds come first, this session's before the file's: a new score goes above the
// old ones it equals, and those both tables hold are the old ones.
std::vector<TableEntry> MergeTables(const std::vector<TableEntry>& ours,
                                    const std::vector<TableEntry>& theirs) {
    struct Ranked {
        TableEntry Entry;
        int32_t Shared;
    };
    auto holds = [](const std::vector<TableEntry>& table, const TableEntry& e) {
        return std::find(table.begin(), table.end(), e) != table.end();
    };
    std::vector<Ranked> merged;
    for (const TableEntry& e : ours) merged.push_back({e, holds(theirs, e)});
    for (std::size_t i = 0; i < theirs.size(); ++i) {
        auto inTheirs = std::count(theirs.begin(), theirs.begin() + i + 1, theirs[i]);
        if (inTheirs > std::count(ours.begin(), ours.end(), theirs[i]))
            merged.push_back({theirs[i], holds(ours, theirs[i])});
    }
    std::stable_sort(merged.begin(), merged.end(), [](const Ranked& a, const Ranked& b) {
        if (a.Entry.Score != b.Entry.Score) return a.Entry.Score > b.Entry.Score;
        return a.Shared < b.Shared;
    });
    std::vector<TableEntry> best;
    for (std::size_t i = 0; i < merged.size() && i < HighScoreEntries; ++i)
        best.push_back(merged[i].Entry);
    return best;
}

void PutTable(SettingsFileValues* values, const std::vector<TableEntry>& table) {
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto n = static_cast<int32_t>(i + 1);
        const TableEntry& e = table[i];
        PutSettingsValue(values, EntryValueName("PlayerName%02d", n), 1, e.Name.c_str(),
                         static_cast<uint32_t>(e.Name.size() + 1));
        const auto u = static_cast<uint32_t>(e.Score);
        const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                                  static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)};
        PutSettingsValue(values, EntryValueName("PlayerScore%02d", n), 0, bytes, 4);
    }
}

// The value a line names: the text before its '=', when that could be a value's name.
std::string_view NamedValue(std::string_view line) {
    if (line.empty() || line[0] == '#' || line.size() > SettingsLineLimit) return {};
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return {};
    return line.substr(0, equals);
}

} // namespace

std::string MergeSettingsText(std::string_view now, const SettingsFileValues& ours,
                              const std::vector<std::string>& written) {
    if (now.empty()) return SerialiseSettings(ours);

    SettingsFileValues put;
    int32_t tableWritten = 0;
    for (const std::string& name : written) {
        if (IsTableValue(name)) {
            tableWritten = 1;
        } else if (const SettingsFileValue* v = FindSettingsValue(ours, name)) {
            put.push_back(*v);
        }
    }
    if (tableWritten)
        PutTable(&put, MergeTables(TableOf(ours), TableOf(ParseSettingsText(now, 0))));

    std::unordered_map<std::string_view, std::size_t> index;
    for (std::size_t i = 0; i < put.size(); ++i) index.emplace(put[i].Name, i);
    std::vector<uint8_t> placed(put.size(), 0);
    // Each value's line as SerialiseSettings writes it, without its heading.
    auto lineOf = [](const SettingsFileValue& v) {
        std::string text = SerialiseSettings({v});
        return text.substr(text.find('\n') + 1);
    };

    std::string out;
    out.reserve(now.size() + 4096);
    while (!now.empty()) {
        std::size_t end = now.find('\n');
        std::string_view line = now.substr(0, end == std::string_view::npos ? now.size() : end + 1);
        now.remove_prefix(line.size());
        std::string_view body = line;
        if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
        const int32_t crlf = !body.empty() && body.back() == '\r';
        if (crlf) body.remove_suffix(1);
        auto found = index.find(NamedValue(body));
        if (found == index.end() || placed[found->second]) {
            out += line;
            continue;
        }
        // The first line naming a value takes it, the one the file is read by.
        placed[found->second] = 1;
        std::string value = lineOf(put[found->second]);
        if (crlf) {
            value.pop_back();
            value += "\r\n";
        }
        out += value;
    }
    if (!out.empty() && out.back() != '\n') out += '\n';
    for (std::size_t i = 0; i < put.size(); ++i)
        if (!placed[i]) out += lineOf(put[i]);
    return out;
}
