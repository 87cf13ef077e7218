// The settings store of the Windows build: one registry key of the current user, opened for
// each load or save and closed at its end. Numbers are REG_BINARY, texts REG_SZ.
#include <windows.h>

#include <cstring>
#include <vector>

#include "shell/settings_store.h"

namespace {

constexpr const char* SettingsKeyPath = "Software\\Games\\Quorvanel";

HKEY SettingsKey = nullptr;

} // namespace

int32_t OpenSettingsStore(int32_t* createdNew) {
    *createdNew = 0;
    DWORD disposition = 0;
    char keyClass[] = "Config";
    LONG result =
        RegCreateKeyExA(HKEY_CURRENT_USER, SettingsKeyPath, 0, keyClass, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &SettingsKey, &disposition);
    if (result != ERROR_SUCCESS) {
        SettingsKey = nullptr;
        return 0;
    }
    *createdNew = disposition == REG_CREATED_NEW_KEY ? 1 : 0;
    return 1;
}

void CloseSettingsStore() {
    if (SettingsKey) RegCloseKey(SettingsKey);
    SettingsKey = nullptr;
}

void WriteStoreBinary(const char* name, const void* data, uint32_t size) {
    if (!SettingsKey) return;
    RegSetValueExA(SettingsKey, name, 0, REG_BINARY, static_cast<const BYTE*>(data), size);
}

void WriteStoreText(const char* name, const char* text) {
    if (!SettingsKey) return;
    RegSetValueExA(SettingsKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                   static_cast<DWORD>(std::strlen(text) + 1));
}

int32_t ReadStoreValue(const char* name, void* data, uint32_t* size) {
    if (!SettingsKey) return StoreValueMissing;
    // The registry leaves a buffer that was too small undefined; the caller's data is
    // touched only by a whole value.
    std::vector<BYTE> buffer(*size ? *size : 1);
    DWORD stored = *size;
    LONG result = RegQueryValueExA(SettingsKey, name, nullptr, nullptr, buffer.data(), &stored);
    if (result == ERROR_MORE_DATA) {
        *size = stored;
        return StoreValueTooLarge;
    }
    if (result != ERROR_SUCCESS) return StoreValueMissing;
    if (stored) std::memcpy(data, buffer.data(), stored);
    *size = stored;
    return StoreValueRead;
}
