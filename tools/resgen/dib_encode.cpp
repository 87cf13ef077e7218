// The encoders favour long runs and fall back to absolute runs for busy stretches, keeping
// every absolute run at least three pixels long (shorter ones would read as escapes).
#include "tools/resgen/dib_encode.h"

#include <png.h>

#include <cstdio>

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// Length of the run of equal pixels starting at x, at most limit.
int32_t RunAt(const uint8_t* row, int32_t x, int32_t width, int32_t limit) {
    int32_t n = 1;
    while (x + n < width && n < limit && row[x + n] == row[x]) ++n;
    return n;
}

void EncodeRow(const uint8_t* row, int32_t width, int32_t four, std::vector<uint8_t>& out) {
    int32_t x = 0;
    while (x < width) {
        int32_t run = RunAt(row, x, width, 255);
        if (run >= 3 || x + run >= width) {
            out.push_back(static_cast<uint8_t>(run));
            out.push_back(four ? static_cast<uint8_t>(row[x] << 4 | row[x]) : row[x]);
            x += run;
            continue;
        }
        // Gather pixels until a run of three or more begins.
        int32_t end = x;
        while (end < width && end - x < 255 && RunAt(row, end, width, 3) < 3) ++end;
        int32_t n = end - x;
        if (n < 3) { // too short for an absolute run: single-pixel runs instead
            for (int32_t i = 0; i < n; ++i) {
                out.push_back(1);
                out.push_back(four ? static_cast<uint8_t>(row[x + i] << 4) : row[x + i]);
            }
        } else {
            out.push_back(0);
            out.push_back(static_cast<uint8_t>(n));
            size_t start = out.size();
            if (four) {
                for (int32_t i = 0; i < n; i += 2)
                    out.push_back(
                        static_cast<uint8_t>(row[x + i] << 4 | (i + 1 < n ? row[x + i + 1] : 0)));
            } else {
                for (int32_t i = 0; i < n; ++i) out.push_back(row[x + i]);
            }
            if ((out.size() - start) & 1) out.push_back(0);
        }
        x = end;
    }
}

} // namespace

std::vector<uint8_t> EncodeDib(const IndexedImage& image, int32_t bitsPerPixel,
                               uint32_t compression) {
    const int32_t w = image.Width, h = image.Height;
    if (w <= 0 || h <= 0 || image.Indices.size() != static_cast<size_t>(w) * h) return {};
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8) return {};
    if ((compression == 1 && bitsPerPixel != 8) || (compression == 2 && bitsPerPixel != 4) ||
        compression > 2)
        return {};
    const uint32_t tableSize = 1u << bitsPerPixel;
    if (image.Colours.size() > tableSize) return {};
    for (uint8_t index : image.Indices)
        if (index >= tableSize) return {};

    std::vector<uint8_t> bits;
    for (int32_t y = h - 1; y >= 0; --y) { // bottom row first
        const uint8_t* row = image.Indices.data() + static_cast<size_t>(y) * w;
        if (compression == 0) {
            size_t start = bits.size();
            for (int32_t x = 0; x < w; x += 8 / bitsPerPixel) {
                uint32_t byte = 0;
                for (int32_t k = 0; k < 8 / bitsPerPixel; ++k) {
                    uint32_t v = x + k < w ? row[x + k] : 0;
                    byte = (byte << bitsPerPixel) | v;
                }
                bits.push_back(static_cast<uint8_t>(byte));
            }
            while ((bits.size() - start) % 4) bits.push_back(0);
        } else {
            EncodeRow(row, w, compression == 2, bits);
            bits.push_back(0);
            bits.push_back(y == 0 ? 1 : 0); // end of bitmap after the top row, else end of line
        }
    }

    std::vector<uint8_t> dib;
    Put32(dib, 40);
    Put32(dib, static_cast<uint32_t>(w));
    Put32(dib, static_cast<uint32_t>(h));
    Put16(dib, 1);
    Put16(dib, static_cast<uint32_t>(bitsPerPixel));
    Put32(dib, compression);
    Put32(dib, static_cast<uint32_t>(bits.size()));
    Put32(dib, 2835); // 72 dots per inch
    Put32(dib, 2835);
    Put32(dib, tableSize);
    Put32(dib, 0);
    for (uint32_t i = 0; i < tableSize; ++i) {
        uint32_t c = i < image.Colours.size() ? image.Colours[i] : 0;
        dib.push_back(static_cast<uint8_t>(c >> 16)); // blue, green, red, reserved
        dib.push_back(static_cast<uint8_t>(c >> 8));
        dib.push_back(static_cast<uint8_t>(c));
        dib.push_back(0);
    }
    dib.insert(dib.end(), bits.begin(), bits.end());
    return dib;
}

std::vector<uint8_t> BmpFileFromDib(const std::vector<uint8_t>& dib) {
    std::vector<uint8_t> file = {'B', 'M'};
    uint32_t colours = dib.size() >= 36 ? dib[32] | (dib[33] << 8) : 0;
    Put32(file, static_cast<uint32_t>(dib.size() + 14));
    Put32(file, 0);
    Put32(file, 14 + 40 + colours * 4);
    file.insert(file.end(), dib.begin(), dib.end());
    return file;
}

int32_t WritePngRgba(const std::string& path, int32_t width, int32_t height,
                     const std::vector<uint8_t>& rgba) {
    if (rgba.size() != static_cast<size_t>(width) * height * 4) return 0;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) ? 1 : 0;
}

int32_t ReadPngRgba(const std::string& path, int32_t* width, int32_t* height,
                    std::vector<uint8_t>* rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return 0;
    image.format = PNG_FORMAT_RGBA;
    rgba->assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgba->data(), 0, nullptr)) {
        png_image_free(&image);
        return 0;
    }
    *width = static_cast<int32_t>(image.width);
    *height = static_cast<int32_t>(image.height);
    return 1;
}
