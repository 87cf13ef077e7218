#include <cstring>

#include "shell/headless/headless.h"
#include "shell/settings_store.h"

MemoryStore SettingsMemory;

int32_t OpenSettingsStore(int32_t* createdNew) {
    if (SettingsMemory.Unavailable) return 0;
    ++SettingsMemory.OpenCount;
    *createdNew = SettingsMemory.Exists ? 0 : 1;
    SettingsMemory.Exists = 1;
    return 1;
}

void CloseSettingsStore() {}

void WriteStoreBinary(const char* name, const void* data, uint32_t size) {
    StoredValue& v = SettingsMemory.Values[name];
    v.IsText = 0;
    v.Data.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + size);
    SettingsMemory.WriteOrder.emplace_back(name);
}

void WriteStoreText(const char* name, const char* text) {
    WriteStoreBinary(name, text, static_cast<uint32_t>(std::strlen(text) + 1));
    SettingsMemory.Values[name].IsText = 1;
}

int32_t ReadStoreValue(const char* name, void* data, uint32_t* size) {
    SettingsMemory.ReadOrder.emplace_back(name);
    auto it = SettingsMemory.Values.find(name);
    if (it == SettingsMemory.Values.end()) return StoreValueMissing;
    const std::vector<uint8_t>& bytes = it->second.Data;
    if (bytes.size() > *size) {
        *size = static_cast<uint32_t>(bytes.size());
        return StoreValueTooLarge;
    }
    std::memcpy(data, bytes.data(), bytes.size());
    *size = static_cast<uint32_t>(bytes.size());
    return StoreValueRead;
}
