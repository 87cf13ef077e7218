// The settings store of the browser build: the desktop's settings-file text, kept under one
// key of the page's local storage, read, merged and written by the same code as the file.
// Another tab of the game may save meanwhile: a save merges its values into what is stored
// then, as the desktop merges into the file, so neither tab's best scores are lost.
#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "shell/platform.h"
#include "shell/settings_file.h"
#include "shell/settings_store.h"
#include "shell/web/web_shell.h"

namespace {

// The stored text as a new C string, or nullptr when nothing is stored or the storage cannot
// be used (a browser that refuses it to the page); *failed tells the two apart.
// clang-format off
EM_JS(char*, ReadStorage, (int32_t * failed), {
    HEAP32[failed >> 2] = 0;
    try {
        var text = window.localStorage.getItem("Quorvanel/settings");
        if (text === null) return 0;
        var size = lengthBytesUTF8(text) + 1;
        var copy = _malloc(size);
        stringToUTF8(text, copy, size);
        return copy;
    } catch (e) {
        HEAP32[failed >> 2] = 1;
        return 0;
    }
});
// clang-format on

// clang-format off
EM_JS(int32_t, WriteStorage, (const char* text), {
    try {
        window.localStorage.setItem("Quorvanel/settings", UTF8ToString(text));
        return 1;
    } catch (e) {
        return 0;
    }
});
// clang-format on

SettingsFileValues StoreValues;
std::vector<std::string> Written; // names written this session
int32_t StoreOpen = 0;
int32_t StoreWritten = 0;
int32_t Detached = 0;
int32_t DetachedExists = 0;
SettingsFileValues DetachedValues;
std::string ReportedText; // the stored text as it was when its problems were last reported

// The stored text: 1 read (empty when nothing is stored), 0 the storage cannot be used.
int32_t StoredText(std::string* text) {
    int32_t failed = 0;
    char* stored = ReadStorage(&failed);
    text->clear();
    if (failed) return 0;
    if (stored) {
        *text = stored;
        std::free(stored);
    }
    return 1;
}

void NoteWritten(const char* name) {
    if (std::find(Written.begin(), Written.end(), name) == Written.end())
        Written.emplace_back(name);
    StoreWritten = 1;
}

} // namespace

void DetachSettingsStore(int32_t detached) {
    Detached = detached;
    DetachedExists = 0;
    DetachedValues.clear();
}

int32_t OpenSettingsStore(int32_t* createdNew) {
    *createdNew = 0;
    StoreValues.clear();
    Written.clear();
    StoreWritten = 0;
    if (Detached) {
        *createdNew = !DetachedExists;
        StoreValues = DetachedValues;
        StoreOpen = 1;
        return 1;
    }
    std::string text;
    if (!StoredText(&text)) {
        DebugOutput("OpenSettingsStore: the page's storage cannot be used; nothing is kept.\n");
        return 0;
    }
    if (text.empty()) {
        *createdNew = 1;
    } else {
        // A save opens the store again; what is wrong with it has been said once already.
        StoreValues = ParseSettingsText(text, text != ReportedText);
        ReportedText = std::move(text);
    }
    StoreOpen = 1;
    return 1;
}

void CloseSettingsStore() {
    if (StoreOpen && StoreWritten) {
        if (Detached) {
            DetachedValues = StoreValues;
            DetachedExists = 1;
        } else {
            std::string now;
            std::string text = StoredText(&now) ? MergeSettingsText(now, StoreValues, Written)
                                                : SerialiseSettings(StoreValues);
            if (!WriteStorage(text.c_str()))
                DebugOutput(
                    "CloseSettingsStore: couldn't store the settings; the old ones stay.\n");
            else
                ReportedText = text; // what was just written has nothing to report
        }
    }
    StoreOpen = 0;
    StoreWritten = 0;
    Written.clear();
}

void WriteStoreBinary(const char* name, const void* data, uint32_t size) {
    if (!StoreOpen) return;
    PutSettingsValue(&StoreValues, name, 0, data, size);
    NoteWritten(name);
}

void WriteStoreText(const char* name, const char* text) {
    if (!StoreOpen) return;
    PutSettingsValue(&StoreValues, name, 1, text, static_cast<uint32_t>(std::strlen(text) + 1));
    NoteWritten(name);
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
