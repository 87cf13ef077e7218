// The bitmap decoder. Every read goes through a bounds-checked cursor; RLE runs that would
// leave their row or the picture are clipped, so hostile files cannot hang or overflow it.
#include "display/software/bmp.h"

#include <cstring>

namespace {

uint32_t Read16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8);
}

uint32_t Read32(const uint8_t* p) {
    return Read16(p) | (Read16(p + 2) << 16);
}

int32_t Fail(std::string* error, const char* text) {
    if (error) *error = text;
    return 0;
}

struct Header {
    uint32_t Size = 0;
    int64_t Width = 0;
    int64_t Height = 0; // negative: rows stored top-down
    uint32_t Planes = 0;
    uint32_t BitsPerPixel = 0;
    uint32_t Compression = 0;
    uint32_t ColoursUsed = 0;
    uint32_t EntrySize = 4; // colour-table entry: 3 bytes in the OS/2 core header
};

int32_t ReadHeader(const uint8_t* data, size_t size, Header* h, std::string* error) {
    if (size < 4) return Fail(error, "truncated information header");
    h->Size = Read32(data);
    if (h->Size == 12) {
        if (size < 12) return Fail(error, "truncated information header");
        h->Width = Read16(data + 4);
        h->Height = Read16(data + 6);
        h->Planes = Read16(data + 8);
        h->BitsPerPixel = Read16(data + 10);
        h->EntrySize = 3;
        return 1;
    }
    // The Windows headers: version 3 (40), its bit-field extensions (52, 56), 4 and 5.
    if (h->Size != 40 && h->Size != 52 && h->Size != 56 && h->Size != 108 && h->Size != 124)
        return Fail(error, "unsupported information header size");
    if (size < h->Size) return Fail(error, "truncated information header");
    h->Width = static_cast<int32_t>(Read32(data + 4));
    h->Height = static_cast<int32_t>(Read32(data + 8));
    h->Planes = Read16(data + 12);
    h->BitsPerPixel = Read16(data + 14);
    h->Compression = Read32(data + 16);
    h->ColoursUsed = Read32(data + 32);
    return 1;
}

int32_t CheckHeader(const Header& h, std::string* error) {
    if (h.Planes != 1) return Fail(error, "plane count is not 1");
    if (h.BitsPerPixel != 1 && h.BitsPerPixel != 4 && h.BitsPerPixel != 8)
        return Fail(error, "unsupported bits per pixel");
    if (h.Compression == BitmapRle8 && h.BitsPerPixel != 8)
        return Fail(error, "RLE8 needs 8 bits per pixel");
    if (h.Compression == BitmapRle4 && h.BitsPerPixel != 4)
        return Fail(error, "RLE4 needs 4 bits per pixel");
    if (h.Compression != BitmapRgb && h.Compression != BitmapRle8 && h.Compression != BitmapRle4)
        return Fail(error, "unsupported compression");
    int64_t height = h.Height < 0 ? -h.Height : h.Height;
    if (h.Width <= 0 || height == 0) return Fail(error, "empty or negative size");
    if (h.Width * height > MaxBitmapPixels) return Fail(error, "picture too large");
    if (h.Height < 0 && h.Compression != BitmapRgb)
        return Fail(error, "run-length coded bitmaps must be bottom-up");
    if (h.ColoursUsed > (1u << h.BitsPerPixel)) return Fail(error, "too many colours");
    return 1;
}

void DecodePlain(const uint8_t* bits, const Header& h, DecodedBitmap* out) {
    const size_t stride = ((static_cast<size_t>(out->Width) * h.BitsPerPixel + 31) / 32) * 4;
    for (int32_t row = 0; row < out->Height; ++row) {
        const uint8_t* in = bits + stride * row;
        int32_t y = h.Height < 0 ? row : out->Height - 1 - row;
        uint8_t* dst = out->Indices.data() + static_cast<size_t>(y) * out->Width;
        for (int32_t x = 0; x < out->Width; ++x) {
            switch (h.BitsPerPixel) {
            case 1: dst[x] = (in[x >> 3] >> (7 - (x & 7))) & 1; break;
            case 4: dst[x] = (x & 1) ? (in[x >> 1] & 15) : (in[x >> 1] >> 4); break;
            default: dst[x] = in[x]; break;
            }
        }
    }
}

// Runs are written from the bottom row up; anything outside the picture is dropped.
void DecodeRunLength(const uint8_t* bits, size_t size, const Header& h, DecodedBitmap* out) {
    const int32_t w = out->Width, ht = out->Height;
    const int32_t four = h.Compression == BitmapRle4;
    int64_t x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](uint8_t index) {
        if (x < w && y < ht) out->Indices[static_cast<size_t>(ht - 1 - y) * w + x] = index;
        ++x;
    };
    size_t at = 0;
    while (at + 1 < size && y < ht) {
        uint32_t count = bits[at], value = bits[at + 1];
        at += 2;
        if (count > 0) { // a run of one index (RLE8) or of two alternating nibbles (RLE4)
            for (uint32_t i = 0; i < count && x < w; ++i)
                put(four ? static_cast<uint8_t>((i & 1) ? value & 15 : value >> 4)
                         : static_cast<uint8_t>(value));
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return;
        } else if (value == 2) { // delta: skip right and up
            if (at + 1 >= size) return;
            x += bits[at];
            y += bits[at + 1];
            at += 2;
        } else { // absolute run of `value` pixels, padded to a 16-bit boundary
            size_t bytes = four ? (value + 1) / 2 : value;
            if (at + bytes > size) bytes = size - at;
            for (uint32_t i = 0; i < value; ++i) {
                size_t byte = four ? i / 2 : i;
                if (byte >= bytes) break;
                if (x >= w) continue;
                put(four ? static_cast<uint8_t>((i & 1) ? bits[at + byte] & 15
                                                        : bits[at + byte] >> 4)
                         : bits[at + byte]);
            }
            at += (bytes + 1) & ~static_cast<size_t>(1);
        }
    }
}

int32_t DecodeWithPixelOffset(const uint8_t* data, size_t size, int64_t pixelOffset,
                              DecodedBitmap* out, std::string* error) {
    Header h;
    if (!ReadHeader(data, size, &h, error) || !CheckHeader(h, error)) return 0;
    const uint32_t tableSize = 1u << h.BitsPerPixel;
    const uint32_t inFile = h.ColoursUsed ? h.ColoursUsed : tableSize;
    const size_t tableAt = h.Size;
    if (tableAt + static_cast<size_t>(inFile) * h.EntrySize > size)
        return Fail(error, "truncated colour table");
    if (pixelOffset < 0) pixelOffset = static_cast<int64_t>(tableAt + inFile * h.EntrySize);
    if (pixelOffset > static_cast<int64_t>(size)) return Fail(error, "pixel data missing");

    DecodedBitmap result;
    result.Width = static_cast<int32_t>(h.Width);
    result.Height = static_cast<int32_t>(h.Height < 0 ? -h.Height : h.Height);
    result.BitsPerPixel = static_cast<int32_t>(h.BitsPerPixel);
    result.Compression = h.Compression;
    result.ColoursInFile = static_cast<int32_t>(inFile);
    result.Colours.assign(tableSize, 0);
    for (uint32_t i = 0; i < inFile; ++i) {
        const uint8_t* e = data + tableAt + static_cast<size_t>(i) * h.EntrySize;
        result.Colours[i] = e[2] | (e[1] << 8) | (static_cast<uint32_t>(e[0]) << 16);
    }
    const uint8_t* bits = data + pixelOffset;
    const size_t available = size - static_cast<size_t>(pixelOffset);
    if (h.Compression == BitmapRgb) {
        const size_t stride = ((static_cast<size_t>(result.Width) * h.BitsPerPixel + 31) / 32) * 4;
        if (stride * result.Height > available) return Fail(error, "truncated pixel data");
        result.Indices.assign(static_cast<size_t>(result.Width) * result.Height, 0);
        DecodePlain(bits, h, &result);
    } else {
        result.Indices.assign(static_cast<size_t>(result.Width) * result.Height, 0);
        DecodeRunLength(bits, available, h, &result);
    }
    *out = std::move(result);
    return 1;
}

} // namespace

int32_t DecodeDib(const uint8_t* data, size_t size, DecodedBitmap* out, std::string* error) {
    if (!data || !out) return Fail(error, "no data");
    return DecodeWithPixelOffset(data, size, -1, out, error);
}

int32_t DecodeBmpFile(const uint8_t* data, size_t size, DecodedBitmap* out, std::string* error) {
    if (!data || !out) return Fail(error, "no data");
    if (size < 14 || data[0] != 'B' || data[1] != 'M') return Fail(error, "not a BMP file");
    uint32_t offset = Read32(data + 10);
    if (offset < 14 || offset > size) return Fail(error, "bad pixel data offset");
    return DecodeWithPixelOffset(data + 14, size - 14, static_cast<int64_t>(offset) - 14, out,
                                 error);
}
