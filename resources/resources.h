// The bitmaps and sounds the program carries, embedded at build time. Bitmaps are DIBs as a
// bitmap resource holds them (information header, colour table, pixels, no file header);
// sounds are whole RIFF WAVE files.
#pragma once
#include <cstdint>

// Return 1 and set *data and *size when the program holds the resource, else 0.
int32_t FindBitmapResource(int32_t id, const uint8_t** data, uint32_t* size);
int32_t FindWaveResource(int32_t id, const uint8_t** data, uint32_t* size);

struct ResourceEntry {
    int32_t Id;
    const uint8_t* Data;
    uint32_t Size;
};

// The desktop window's icon: WindowIconSize x WindowIconSize pixels of red, green, blue and
// alpha bytes, top row first.
constexpr int32_t WindowIconSize = 32;
extern const uint8_t* const WindowIconRgba;

// The generated tables behind the lookups.
extern const ResourceEntry BitmapResources[];
extern const uint32_t BitmapResourceCount;
extern const ResourceEntry WaveResources[];
extern const uint32_t WaveResourceCount;
