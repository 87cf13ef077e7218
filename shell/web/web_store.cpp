// The settings store of the browser build: the desktop's settings-file text, kept under one
// key of the page's local storage, read and written through the same reader and writer.
#include <emscripten.h>

#include <cstdlib>
#include <cstring>
#include <string>

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
int32_t StoreOpen = 0;
int32_t StoreWritten = 0;
int32_t Detached = 0;
int32_t DetachedExists = 0;
SettingsFileValues DetachedValues;
std::string ReportedText; // the stored text as it was when its problems were last reported

} // namespace

void DetachSettingsStore(int32_t detached) {
    Detached = detached;
    DetachedExists = 0;
    DetachedValues.clear();
}

int32_t OpenSettingsStore(int32_t* createdNew) {
    *createdNew = 0;
    StoreValues.clear();
    StoreWritten = 0;
    if (Detached) {
        *createdNew = !DetachedExists;
        StoreValues = DetachedValues;
        StoreOpen = 1;
        return 1;
    }
    int32_t failed = 0;
    char* stored = ReadStorage(&failed);
    if (failed) {
        DebugOutput("OpenSettingsStore: the page's storage cannot be used; nothing is kept.\n");
        return 0;
    }
    if (!stored) {
        *createdNew = 1;
    } else {
        std::string text(stored);
        std::free(stored);
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
            std::string text = SerialiseSettings(StoreValues);
            if (!WriteStorage(text.c_str()))
                DebugOutput(
                    "CloseSettingsStore: couldn't store the settings; the old ones stay.\n");
            else
                ReportedText = text; // what was just written has nothing to report
        }
    }
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
