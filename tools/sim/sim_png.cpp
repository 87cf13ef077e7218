// PNG screenshots of the simulator's surfaces.
#include <png.h>

#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "tools/sim/sim.h"

int32_t WriteSurfacePng(const Surface* surface, const std::string& path, std::string* problem) {
    if (!surface || surface->Width <= 0 || surface->Height <= 0) {
        *problem = "there is no picture";
        return 0;
    }
    std::vector<uint8_t> rgb(static_cast<std::size_t>(surface->Width) * surface->Height * 3);
    for (int32_t y = 0; y < surface->Height; ++y)
        for (int32_t x = 0; x < surface->Width; ++x) {
            uint32_t colour = PixelToRgb(surface, ReadPixel(surface, x, y));
            uint8_t* p = &rgb[(static_cast<std::size_t>(y) * surface->Width + x) * 3];
            p[0] = static_cast<uint8_t>(colour & 0xFF);
            p[1] = static_cast<uint8_t>((colour >> 8) & 0xFF);
            p[2] = static_cast<uint8_t>((colour >> 16) & 0xFF);
        }
    // Encoded in memory, so that the file is written, and its failure told, as every other.
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(surface->Width);
    image.height = static_cast<png_uint_32>(surface->Height);
    image.format = PNG_FORMAT_RGB;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rgb.data(), 0, nullptr)) {
        *problem = image.message;
        return 0;
    }
    std::string png(size, '\0');
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgb.data(), 0, nullptr)) {
        *problem = image.message;
        return 0;
    }
    png.resize(size);
    return WriteOutputFile(path, png, problem);
}
