// Feeds arbitrary bytes to the bitmap decoder, both as a .bmp file and as a bare DIB; whatever
// it accepts must be a consistent picture, and a refusal must say why.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "display/software/bmp.h"

static void Check(int32_t ok, const DecodedBitmap& b, const std::string& error) {
    if (!ok) {
        if (error.empty()) std::abort();
        return;
    }
    if (b.Width <= 0 || b.Height <= 0 ||
        static_cast<int64_t>(b.Width) * b.Height > MaxBitmapPixels ||
        b.Indices.size() != static_cast<size_t>(b.Width) * b.Height ||
        b.Colours.size() != (static_cast<size_t>(1) << b.BitsPerPixel))
        std::abort();
    for (uint8_t index : b.Indices)
        if (index >= b.Colours.size()) std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DecodedBitmap b;
    std::string error;
    Check(DecodeBmpFile(data, size, &b, &error), b, error);
    DecodedBitmap dib;
    error.clear();
    Check(DecodeDib(data, size, &dib, &error), dib, error);
    return 0;
}
