// The key-value store behind the settings and the high-score table: the registry on
// Windows, a file under the XDG config directory on Linux, memory in tests and the simulator.
#pragma once
#include <cstdint>

// Creates or opens the store; *createdNew is 1 when it did not exist before. Returns 1, or 0
// when it can neither be created nor opened (nothing is then read or written).
int32_t OpenSettingsStore(int32_t* createdNew);
void CloseSettingsStore(); // a file store writes out here

void WriteStoreBinary(const char* name, const void* data, uint32_t size); // REG_BINARY
void WriteStoreText(const char* name, const char* text);                  // REG_SZ, with its zero

// Reads a value into data of room *size bytes. Results: 1 read (*size is the stored size);
// 0 no such value; -1 the value is larger than the room (*size is its size). Only a result
// of 1 touches data.
constexpr int32_t StoreValueRead = 1;
constexpr int32_t StoreValueMissing = 0;
constexpr int32_t StoreValueTooLarge = -1;
int32_t ReadStoreValue(const char* name, void* data, uint32_t* size);
