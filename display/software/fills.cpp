// Raw-value fills, whole-surface copies, art blits and the present of the software display.
#include <algorithm>
#include <cstring>

#include "display/draw.h"
#include "display/software/result_codes.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "shell/platform.h"

namespace {

uint8_t* RowAt(Surface* surface, int32_t y) {
    return surface->Pixels.data() + static_cast<size_t>(y) * surface->Pitch;
}

} // namespace

int32_t CopyScreenRows(Surface* destination, Surface* source, int32_t rows) {
    if (!destination || !source) return SurfaceMissing;
    if (destination->BitsPerPixel != source->BitsPerPixel) return SurfaceMismatch;
    rows = std::min({rows, destination->Height, source->Height});
    int32_t bytes = std::min(destination->Width, source->Width) * (source->BitsPerPixel / 8);
    for (int32_t y = 0; y < rows; ++y)
        std::memcpy(RowAt(destination, y),
                    source->Pixels.data() + static_cast<size_t>(y) * source->Pitch, bytes);
    return SurfaceOk;
}

int32_t DDFillRect(Surface* surface, uint32_t colour, int32_t x, int32_t y, int32_t width,
                   int32_t height) {
    if (!surface) return SurfaceMissing;
    // The movers paint single cells far more often than anything else.
    if (width == 1 && height == 1) {
        WritePixel(surface, x, y, colour);
        return SurfaceOk;
    }
    // Clipped to the surface; the game keeps its rectangles inside anyway.
    int64_t left = std::max<int64_t>(x, 0);
    int64_t top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + width, surface->Width);
    int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + height, surface->Height);
    if (left >= right || top >= bottom) return SurfaceOk;
    const int32_t count = static_cast<int32_t>(right - left);
    for (int64_t row = top; row < bottom; ++row) {
        uint8_t* p = RowAt(surface, static_cast<int32_t>(row));
        switch (surface->BitsPerPixel) {
        case 8: std::memset(p + left, static_cast<uint8_t>(colour), count); break;
        case 16: {
            uint8_t pixel[2] = {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8)};
            for (int32_t i = 0; i < count; ++i) std::memcpy(p + 2 * (left + i), pixel, 2);
            break;
        }
        case 24: {
            uint8_t pixel[3] = {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                                static_cast<uint8_t>(colour >> 16)};
            for (int32_t i = 0; i < count; ++i) std::memcpy(p + 3 * (left + i), pixel, 3);
            break;
        }
        case 32:
            for (int32_t i = 0; i < count; ++i) std::memcpy(p + 4 * (left + i), &colour, 4);
            break;
        default: break;
        }
    }
    return SurfaceOk;
}

int32_t DDClearSurface(Surface* surface, uint32_t colour) {
    if (!surface) return SurfaceMissing;
    return DDFillRect(surface, colour, 0, 0, surface->Width, surface->Height);
}

int32_t DrawArt(Surface* destination, Surface* art, int32_t x, int32_t y, int32_t useColourKey) {
    if (!destination || !art) return SurfaceMissing;
    if (destination->BitsPerPixel != art->BitsPerPixel) return SurfaceMismatch;
    const int32_t bytesPerPixel = art->BitsPerPixel / 8;
    const uint8_t zero[4] = {0, 0, 0, 0};
    int32_t firstColumn = std::max(0, -x);
    int32_t lastColumn = std::min(art->Width, destination->Width - x); // exclusive
    int32_t firstRow = std::max(0, -y);
    int32_t lastRow = std::min(art->Height, destination->Height - y);
    if (firstColumn >= lastColumn) return SurfaceOk;
    for (int32_t row = firstRow; row < lastRow; ++row) {
        const uint8_t* in = art->Pixels.data() + static_cast<size_t>(row) * art->Pitch;
        uint8_t* out = RowAt(destination, y + row);
        if (!useColourKey) {
            std::memcpy(out + (x + firstColumn) * bytesPerPixel, in + firstColumn * bytesPerPixel,
                        (lastColumn - firstColumn) * bytesPerPixel);
            continue;
        }
        for (int32_t column = firstColumn; column < lastColumn; ++column) {
            const uint8_t* pixel = in + column * bytesPerPixel;
            if (std::memcmp(pixel, zero, bytesPerPixel) != 0)
                std::memcpy(out + (x + column) * bytesPerPixel, pixel, bytesPerPixel);
        }
    }
    return SurfaceOk;
}

int32_t SoftwareDisplayUnseen = 0;

int32_t PresentFrame() {
    if (SoftwareDisplayUnseen) return SurfaceOk;
    // The title state composes its scrolling logo on the second back buffer.
    Surface* source = Game.GameState == StateTitle ? BackBuffer2 : BackBuffer;
    return CopyScreenRows(PrimarySurface, source, ScreenHeight);
}
