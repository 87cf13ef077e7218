// Colour fills, whole-surface clears and the copies between surfaces, all done by the
// blitter, which is asked to wait rather than refuse while it is busy.
#include <algorithm>

#include "display/directdraw/dd_display.h"
#include "display/draw.h"

// Copies the rectangle (0, 0)-(width, rows) of one surface onto the same place of another.
int32_t CopyScreenRows(Surface* destination, Surface* source, int32_t rows) {
    if (!destination || !source) return DDERR_SURFACELOST;
    RECT area = {0, 0, std::min(destination->Width, source->Width),
                 std::min({rows, destination->Height, source->Height})};
    return destination->Dds->BltFast(0, 0, source->Dds, &area, DDBLTFAST_WAIT);
}

int32_t DDFillRect(Surface* surface, uint32_t colour, int32_t x, int32_t y, int32_t width,
                   int32_t height) {
    if (!surface) return DDERR_SURFACELOST;
    // An empty rectangle is no request at all to the blitter.
    if (width <= 0 || height <= 0) return DD_OK;
    DDBLTFX effects;
    ZeroMemory(&effects, sizeof effects);
    effects.dwSize = sizeof effects;
    effects.dwFillColor = colour;
    RECT area = {x, y, x + width, y + height};
    return surface->Dds->Blt(&area, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

int32_t DDClearSurface(Surface* surface, uint32_t colour) {
    if (!surface) return DDERR_SURFACELOST;
    DDBLTFX effects;
    ZeroMemory(&effects, sizeof effects);
    effects.dwSize = sizeof effects;
    effects.dwFillColor = colour;
    // The primary's clipper keeps a whole-surface fill inside the window.
    return surface->Dds->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
}

int32_t DrawArt(Surface* destination, Surface* art, int32_t x, int32_t y, int32_t useColourKey) {
    if (!destination || !art) return DDERR_SURFACELOST;
    // BltFast refuses rather than clips a rectangle that leaves the destination.
    RECT area = {std::max(0, -x), std::max(0, -y), std::min(art->Width, destination->Width - x),
                 std::min(art->Height, destination->Height - y)};
    if (area.left >= area.right || area.top >= area.bottom) return DD_OK;
    const DWORD key = useColourKey ? DDBLTFAST_SRCCOLORKEY : DDBLTFAST_NOCOLORKEY;
    return destination->Dds->BltFast(static_cast<DWORD>(x + area.left),
                                     static_cast<DWORD>(y + area.top), art->Dds, &area,
                                     DDBLTFAST_WAIT | key);
}
