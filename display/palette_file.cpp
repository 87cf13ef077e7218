// The 8-bit display's palette: the colour cube, and the optional palette file over it.
#include <utility>

#include "display/backend.h"

void SetColourCube(uint8_t* entries) {
    for (int32_t i = 0; i < 256; ++i) {
        uint8_t* e = entries + 4 * i;
        e[0] = static_cast<uint8_t>((i >> 5) * 255 / 7);
        e[1] = static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7);
        e[2] = static_cast<uint8_t>((i & 3) * 255 / 3);
        e[3] = 0;
    }
}

void ApplyPaletteFile(const uint8_t* file, size_t size, uint8_t* entries) {
    if (size > PaletteFileBytes) size = PaletteFileBytes;
    // A header the file lacks reads as zeros and counts nothing; entry bytes it lacks keep
    // the cube.
    uint8_t header[40] = {};
    for (size_t i = 14; i < size && i < 54; ++i) header[i - 14] = file[i];
    for (size_t i = 54; i < size; ++i) entries[i - 54] = file[i];
    auto field = [&](size_t at, size_t bytes) {
        uint32_t v = 0;
        for (size_t i = bytes; i-- > 0;) v = (v << 8) | header[at + i];
        return v;
    };
    const uint32_t headerSize = field(0, 4), bitsPerPixel = field(14, 2),
                   coloursUsed = field(32, 4);
    uint32_t count = 0;
    if (headerSize == 40 && bitsPerPixel <= 8)
        count = coloursUsed ? coloursUsed : 1u << bitsPerPixel;
    // A count beyond the palette is bounded by it. The exchange covers the first entries
    // whether the file reached them or not, so a short file's missing entries come out as
    // the colour cube with red and blue exchanged.
    if (count > 256) count = 256;
    for (uint32_t i = 0; i < count; ++i) std::swap(entries[4 * i], entries[4 * i + 2]);
}
