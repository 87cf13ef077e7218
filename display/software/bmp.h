// Device-independent bitmaps (1, 4 and 8 bits per pixel; plain, RLE4 and RLE8), decoded into
// a colour table and one palette index per pixel. The decoder trusts nothing in its input:
// every failure ends in an error text, never a read or write outside the buffers.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Surface;

// Compression codes of the information header.
constexpr uint32_t BitmapRgb = 0;
constexpr uint32_t BitmapRle8 = 1;
constexpr uint32_t BitmapRle4 = 2;

// Larger pictures are refused rather than allocated.
constexpr int64_t MaxBitmapPixels = 16 * 1024 * 1024;

struct DecodedBitmap {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitsPerPixel = 0;
    uint32_t Compression = BitmapRgb;
    // Always 2^BitsPerPixel entries, RGB packed 0x00BBGGRR. Entries the file does not define
    // are black, so every stored index names a defined colour.
    std::vector<uint32_t> Colours;
    std::vector<uint8_t> Indices; // Width * Height, top row first
    // Colours the file itself lists (its colours-used count, or 2^BitsPerPixel).
    int32_t ColoursInFile = 0;
};

// A DIB as a bitmap resource holds it: the information header, the colour table, the pixels.
// Returns 1, or 0 with the reason in *error (when error is given).
int32_t DecodeDib(const uint8_t* data, size_t size, DecodedBitmap* out, std::string* error);
// A .bmp file: the 14-byte file header, whose pixel offset is honoured, then the DIB.
int32_t DecodeBmpFile(const uint8_t* data, size_t size, DecodedBitmap* out, std::string* error);

// A new surface of the given depth holding a DIB's picture in the surface's format (nearest
// palette entry at 8 bits), or nullptr. Defined with the art loader.
Surface* DecodeBitmapToSurface(const uint8_t* dib, uint32_t size, int32_t bitsPerPixel);
