// PNG screenshots of the simulator's surfaces.
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "tools/resgen/dib_encode.h"
#include "tools/sim/sim.h"

int32_t WriteSurfacePng(const Surface* surface, const std::string& path) {
    if (!surface || surface->Width <= 0 || surface->Height <= 0) return 0;
    std::vector<uint8_t> rgba(static_cast<std::size_t>(surface->Width) * surface->Height * 4);
    for (int32_t y = 0; y < surface->Height; ++y)
        for (int32_t x = 0; x < surface->Width; ++x) {
            uint32_t colour = PixelToRgb(surface, ReadPixel(surface, x, y));
            uint8_t* p = &rgba[(static_cast<std::size_t>(y) * surface->Width + x) * 4];
            p[0] = static_cast<uint8_t>(colour & 0xFF);
            p[1] = static_cast<uint8_t>((colour >> 8) & 0xFF);
            p[2] = static_cast<uint8_t>((colour >> 16) & 0xFF);
            p[3] = 255;
        }
    return WritePngRgba(path, surface->Width, surface->Height, rgba);
}
