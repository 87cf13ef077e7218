#include "shell/settings_file_store.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>

#include "shell/platform.h"
#include "shell/settings_store.h"

namespace {

std::size_t HashOf(const std::string& text) {
    return std::hash<std::string>{}(text);
}

// The file's problems are reported when its text is new to this run: not again at each
// save, nor for what this run wrote itself.
int32_t IsNewText(SettingsFileStore* store, const std::string& text) {
    const std::size_t hash = HashOf(text);
    const int32_t isNew =
        !store->HasSeen || hash != store->SeenHash || text.size() != store->SeenSize;
    store->HasSeen = 1;
    store->SeenHash = hash;
    store->SeenSize = text.size();
    return isNew;
}

void Refuse(SettingsFileStore* store, const char* operation, const std::string& problem,
            const char* consequence) {
    store->Refused = 1;
    SayOnce(store, std::string(operation) + ": " + store->Path + " " + problem + "; " +
                       consequence + " and the file is left as it is.\n");
}

// 1 when the file may be replaced; a read-only file is said once a run, whichever session
// finds it.
int32_t CheckWritable(SettingsFileStore* store, const char* operation, const std::string& target) {
    std::string problem;
    if (SettingsFileWritable(target, &problem)) return 1;
    if (!store->ReadOnlySaid)
        DebugOutput((std::string(operation) + ": " + target + " " + problem +
                     "; the settings and scores of this run are not saved.\n")
                        .c_str());
    store->ReadOnlySaid = 1;
    return 0;
}

void Save(SettingsFileStore* store) {
    const std::string target = SettingsFileTarget(store->Path);
    if (!CheckWritable(store, "CloseSettingsStore", target)) return;
    const int32_t lock = LockSettingsFolder(target);
    std::string now, problem;
    int32_t read = ReadSettingsFile(target, &now, &problem);
    if (read < 0) {
        Refuse(store, "CloseSettingsStore", problem, "nothing is saved");
    } else {
        // Problems of a text this run has not seen before (another copy's, an edit) are
        // reported here; the merge reads it again in silence.
        if (IsNewText(store, now)) ParseSettingsText(now, 1);
        std::string text = MergeSettingsText(now, store->Values, store->Written);
        if (ReplaceSettingsFile(target, text, lock >= 0, &problem)) {
            store->Values = ParseSettingsText(text, 0);
            IsNewText(store, text);
        } else {
            SayOnce(store, "CloseSettingsStore: couldn't write " + target + ": " + problem +
                               "; the old file stays.\n");
        }
    }
    UnlockSettingsFolder(lock);
}

} // namespace

void SayOnce(SettingsFileStore* store, const std::string& line) {
    if (std::find(store->Said.begin(), store->Said.end(), line) != store->Said.end()) return;
    store->Said.push_back(line);
    DebugOutput(line.c_str());
}

std::string ChooseSettingsFolder(const char* xdgConfigHome, const char* home,
                                 const char* passwordHome) {
    // XDG: a relative XDG_CONFIG_HOME is to be ignored.
    if (xdgConfigHome && xdgConfigHome[0] == '/') return std::string(xdgConfigHome) + "/Quorvanel";
    if (!home || !home[0]) home = passwordHome;
    if (!home || !home[0]) return {};
    return std::string(home) + "/.config/Quorvanel";
}

int32_t OpenSettingsFileStore(SettingsFileStore* store, int32_t* createdNew) {
    *createdNew = 0;
    store->IsOpen = 0;
    store->Values.clear();
    store->Written.clear();
    if (store->Refused || store->Path.empty()) return 0;
    std::string content, problem;
    int32_t read = ReadSettingsFile(store->Path, &content, &problem);
    if (read < 0) {
        Refuse(store, "OpenSettingsStore", problem, "playing with the built-in settings");
        return 0;
    }
    if (read == 0) {
        std::error_code error;
        std::filesystem::create_directories(std::filesystem::path(store->Path).parent_path(),
                                            error);
        if (error) {
            SayOnce(store, "OpenSettingsStore: couldn't make the folder of " + store->Path + ": " +
                               error.message() + "; nothing is saved.\n");
            return 0;
        }
        *createdNew = 1;
    } else {
        store->Values = ParseSettingsText(content, IsNewText(store, content));
        CheckWritable(store, "OpenSettingsStore", SettingsFileTarget(store->Path));
    }
    store->IsOpen = 1;
    return 1;
}

void CloseSettingsFileStore(SettingsFileStore* store) {
    if (store->IsOpen && !store->Written.empty()) Save(store);
    store->IsOpen = 0;
    store->Written.clear();
}

void WriteSettingsFileValue(SettingsFileStore* store, const char* name, int32_t isText,
                            const void* data, uint32_t size) {
    if (!store->IsOpen) return;
    PutSettingsValue(&store->Values, name, isText, data, size);
    if (std::find(store->Written.begin(), store->Written.end(), name) == store->Written.end())
        store->Written.push_back(name);
}

int32_t ReadSettingsFileValue(const SettingsFileStore* store, const char* name, void* data,
                              uint32_t* size) {
    const SettingsFileValue* value = FindSettingsValue(store->Values, name);
    if (!store->IsOpen || !value) return StoreValueMissing;
    auto stored = static_cast<uint32_t>(value->Data.size());
    if (stored > *size) {
        *size = stored;
        return StoreValueTooLarge;
    }
    if (stored) std::memcpy(data, value->Data.data(), stored);
    *size = stored;
    return StoreValueRead;
}
