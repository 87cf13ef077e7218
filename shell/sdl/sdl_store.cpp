// The settings store of the desktop build: one file under the XDG config directory, read
// whole when opened and written out atomically when closed after a write.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "shell/platform.h"
#include "shell/settings_file.h"
#include "shell/settings_store.h"

namespace {

SettingsFileValues StoreValues;
std::string StorePath;
int32_t StoreOpen = 0;
int32_t StoreWritten = 0;
std::string ReportedContent; // the file as it was when its problems were last reported

std::string SettingsDirectory() {
    // XDG: a relative XDG_CONFIG_HOME is to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/Quorvanel";
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) return {};
    return std::string(home) + "/.config/Quorvanel";
}

} // namespace

int32_t OpenSettingsStore(int32_t* createdNew) {
    *createdNew = 0;
    StoreValues.clear();
    StoreWritten = 0;
    std::string directory = SettingsDirectory();
    if (directory.empty()) return 0;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    StorePath = directory + "/settings";
    std::string content;
    int32_t read = ReadSettingsFile(StorePath, &content);
    if (read < 0 || (read == 0 && error)) {
        DebugOutput("OpenSettingsStore: the settings file can neither be read nor made.\n");
        return 0;
    }
    if (read == 0)
        *createdNew = 1;
    else {
        // A save opens the file again; what is wrong with it has been said once already.
        StoreValues = ParseSettingsText(content, content != ReportedContent);
        ReportedContent = std::move(content);
    }
    StoreOpen = 1;
    return 1;
}

void CloseSettingsStore() {
    if (StoreOpen && StoreWritten &&
        !ReplaceSettingsFile(StorePath, SerialiseSettings(StoreValues)))
        DebugOutput("CloseSettingsStore: couldn't write the settings file; the old one stays.\n");
    StoreOpen = 0;
    StoreWritten = 0;
}

void WriteStoreBinary(const char* name, const void* data, uint32_t size) {
    if (!StoreOpen) return;
    PutSettingsValue(&StoreValues, name, 0, data, size);
    StoreWritten = 1;
}

void WriteStoreText(const char* name, const char* text) {
    if (!StoreOpen) return;
    PutSettingsValue(&StoreValues, name, 1, text, static_cast<uint32_t>(std::strlen(text) + 1));
    StoreWritten = 1;
}

int32_t ReadStoreValue(const char* name, void* data, uint32_t* size) {
    const SettingsFileValue* value = FindSettingsValue(StoreValues, name);
    if (!StoreOpen || !value) return StoreValueMissing;
    auto stored = static_cast<uint32_t>(value->Data.size());
    if (stored > *size) {
        *size = stored;
        return StoreValueTooLarge;
    }
    if (stored) std::memcpy(data, value->Data.data(), stored);
    *size = stored;
    return StoreValueRead;
}
