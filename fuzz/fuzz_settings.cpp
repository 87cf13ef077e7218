// Feeds arbitrary bytes to the settings file's reading and saving. The input is two texts
// split at its first zero byte: the file as a run loads it, and the file as another copy of
// the game left it by the time the run saves.
// - The loaded text is read the way the game reads it (from a file, through the store, into
//   the game record); whatever the parser accepts serialises and parses back to the same
//   values without a single diagnostic.
// - The merge of the run's values into the other text keeps every value the run did not
//   write as that text had it, gives every written one the run's value, and leaves a table
//   of at most ten entries, best first.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "game/game_record.h"
#include "shell/demo.h"
#include "shell/settings.h"
#include "shell/settings_file.h"
#include "shell/settings_file_store.h"
#include "shell/settings_store.h"

static int32_t Diagnostics = 0;
void DebugOutput(const char*) {
    ++Diagnostics;
}
void ShowNameDialog() {}
// No demo plays here, so the name box would be shown as in a game.
int32_t DemoShowsDialogs() {
    return 1;
}
void NoteDemoName() {}

// The store the game reads through, over a file in the folder the fuzzer runs in.
static SettingsFileStore Store;
int32_t OpenSettingsStore(int32_t* createdNew) {
    return OpenSettingsFileStore(&Store, createdNew);
}
void CloseSettingsStore() {
    CloseSettingsFileStore(&Store);
}
void WriteStoreBinary(const char* name, const void* data, uint32_t size) {
    WriteSettingsFileValue(&Store, name, 0, data, size);
}
void WriteStoreText(const char* name, const char* text) {
    WriteSettingsFileValue(&Store, name, 1, text, static_cast<uint32_t>(std::strlen(text) + 1));
}
int32_t ReadStoreValue(const char* name, void* data, uint32_t* size) {
    return ReadSettingsFileValue(&Store, name, data, size);
}

static bool Same(const SettingsFileValue* a, const SettingsFileValue* b) {
    if (!a || !b) return a == b;
    return a->Name == b->Name && a->IsText == b->IsText && a->Data == b->Data;
}

static int32_t IsTableName(const std::string& name) {
    char text[16];
    for (int32_t n = 1; n <= HighScoreEntries; ++n)
        for (const char* format : {"PlayerName%02d", "PlayerScore%02d"}) {
            std::snprintf(text, sizeof text, format, static_cast<int>(n));
            if (name == text) return 1;
        }
    return 0;
}

// The scores of the table's whole entries (name and score both there), in table order.
static std::vector<int32_t> Scores(const SettingsFileValues& values) {
    std::vector<int32_t> scores;
    for (int32_t n = 1; n <= HighScoreEntries; ++n) {
        char name[16], score[16];
        std::snprintf(name, sizeof name, "PlayerName%02d", static_cast<int>(n));
        std::snprintf(score, sizeof score, "PlayerScore%02d", static_cast<int>(n));
        const SettingsFileValue* s = FindSettingsValue(values, score);
        if (!FindSettingsValue(values, name) || !s) continue;
        int32_t points;
        std::memcpy(&points, s->Data.data(), 4); // its size is checked by the parser
        scores.push_back(points);
    }
    return scores;
}

static void LoadAsTheGameDoes(std::string_view text) {
    std::FILE* file = std::fopen("settings", "wb");
    if (!file) std::abort();
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
    Store = SettingsFileStore{};
    Store.Path = "settings";
    ResetGameRecord();
    LoadSettings(); // a file that is there is only read, never written
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t zero = input.find('\0');
    std::string_view loaded = input.substr(0, zero);
    std::string_view now =
        zero == std::string_view::npos ? std::string_view{} : input.substr(zero + 1);

    LoadAsTheGameDoes(loaded);
    SettingsFileValues values = ParseSettingsText(loaded);
    Diagnostics = 0;
    SettingsFileValues again = ParseSettingsText(SerialiseSettings(values));
    if (Diagnostics != 0 || again.size() != values.size()) std::abort();
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!Same(&again[i], &values[i])) std::abort();

    // Every other value counts as written this session; the table only if one of it was.
    std::vector<std::string> written;
    for (std::size_t i = 0; i < values.size(); i += 2) written.push_back(values[i].Name);
    bool tableWritten = false;
    for (const std::string& name : written) tableWritten = tableWritten || IsTableName(name);
    SettingsFileValues before = ParseSettingsText(now, 0);
    SettingsFileValues after = ParseSettingsText(MergeSettingsText(now, values, written), 0);
    if (now.empty()) return 0; // a new file holds the session's values, as checked above
    for (const std::string& name : written)
        if (!(tableWritten && IsTableName(name)) &&
            !Same(FindSettingsValue(after, name), FindSettingsValue(values, name)))
            std::abort();
    for (const SettingsFileValue& v : before)
        if (std::find(written.begin(), written.end(), v.Name) == written.end() &&
            !(tableWritten && IsTableName(v.Name)) && !Same(FindSettingsValue(after, v.Name), &v))
            std::abort();
    if (tableWritten) {
        // The merged entries come first, as many as this session's table had (up to ten),
        // best first, the best of both tables on top.
        std::vector<int32_t> ours = Scores(values), theirs = Scores(before), merged = Scores(after);
        std::size_t put = std::min<std::size_t>(HighScoreEntries, ours.size());
        if (merged.size() < put) std::abort();
        for (std::size_t i = 1; i < put; ++i)
            if (merged[i] > merged[i - 1]) std::abort();
        int32_t best = INT32_MIN;
        for (int32_t s : ours) best = std::max(best, s);
        for (int32_t s : theirs) best = std::max(best, s);
        if (put && merged[0] != best) std::abort();
    }
    return 0;
}
