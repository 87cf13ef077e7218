// Outlined rectangles and one-pixel lines, placing the pixels a GDI solid pen would.
#include <algorithm>
#include <cstdlib>

#include "display/draw.h"
#include "display/software/result_codes.h"
#include "display/software/surface.h"

int32_t DrawRectangle(Surface* surface, uint32_t pen, int32_t x, int32_t y, int32_t width,
                      int32_t height, int32_t penWidth) {
    if (!surface) return SurfaceMissing;
    // A geometric pen is centred on the outline, whose right and bottom edges lie one pixel
    // inside the exclusive corner; a band of w pixels starts w/2 before its edge.
    const int32_t w = penWidth < 1 ? 1 : penWidth;
    const int32_t left = x - w / 2;
    const int32_t top = y - w / 2;
    const int32_t right = x + width - 1 - w / 2 + w; // exclusive
    const int32_t bottom = y + height - 1 - w / 2 + w;
    if (right <= left || bottom <= top) return SurfaceOk;
    // A pen wider than two pixels joins the sides with round corners: GDI leaves unpainted
    // the pixels of the band's corner squares that lie outside a circle about the corner
    // (this one matches Wine's for every width up to 16 but 11 and 16, one pixel apart).
    auto outside = [w](int32_t column, int32_t row) {
        return (2 * column - w) * (2 * column - w) + (2 * row - w) * (2 * row - w) >
               (w + 1) * (w + 1);
    };
    const uint32_t colour = MapRgbToPixel(surface, pen);
    for (int32_t row = top; row < bottom; ++row) {
        const int32_t fromEdge = std::min(row - top, bottom - 1 - row);
        int32_t cut = 0;
        while (fromEdge < w && cut < w && outside(cut, fromEdge)) ++cut;
        DDFillRect(surface, colour, left + cut, row, right - left - 2 * cut, 1);
    }
    // The black brush fills what the pen leaves inside.
    const int32_t innerWidth = right - left - 2 * w;
    const int32_t innerHeight = bottom - top - 2 * w;
    if (innerWidth > 0 && innerHeight > 0)
        DDFillRect(surface, MapRgbToPixel(surface, Rgb(0, 0, 0)), left + w, top + w, innerWidth,
                   innerHeight);
    return SurfaceOk;
}

int32_t DrawLine(Surface* surface, uint32_t pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!surface) return SurfaceMissing;
    const uint32_t pixel = MapRgbToPixel(surface, pen);
    // Bresenham from the start point; the end point itself is not drawn.
    const int32_t dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int32_t sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int32_t error = dx + dy;
    int32_t x = x1, y = y1;
    while (x != x2 || y != y2) {
        WritePixel(surface, x, y, pixel);
        int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
    return SurfaceOk;
}
