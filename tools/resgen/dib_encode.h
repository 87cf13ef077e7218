// Writing device-independent bitmaps: plain, RLE4 and RLE8, with a 40-byte information
// header, as the resource compiler stores them; and PNG files for looking at things.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct IndexedImage {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Indices;  // Width * Height, top row first
    std::vector<uint32_t> Colours; // RGB packed 0x00BBGGRR, at most 2^bitsPerPixel
};

// compression: 0 plain, 1 RLE8 (8 bits), 2 RLE4 (4 bits). Empty on bad arguments.
std::vector<uint8_t> EncodeDib(const IndexedImage& image, int32_t bitsPerPixel,
                               uint32_t compression);
// The DIB behind a 14-byte file header, as a .bmp file holds it.
std::vector<uint8_t> BmpFileFromDib(const std::vector<uint8_t>& dib);

// 8-bit RGBA, rows top-down. Return 1 on success.
int32_t WritePngRgba(const std::string& path, int32_t width, int32_t height,
                     const std::vector<uint8_t>& rgba);
int32_t ReadPngRgba(const std::string& path, int32_t* width, int32_t* height,
                    std::vector<uint8_t>* rgba);
