#include "shell/popups/popup_paint.h"

#include "display/software/art.h"
#include "display/software/glyphs.h"
#include "display/software/surface.h"
#include "display/software/text.h"

void UsePopupFont() {
    SetTextFont(nullptr, GameTextFace, GameTextTenths);
}

PopupFontMetrics PopupFont() {
    UsePopupFont();
    const GlyphFont* font = TextGlyphs();
    PopupFontMetrics metrics;
    if (!font) return metrics;
    // The average width is that of the 52 letters, rounded.
    int32_t sum = 0;
    for (unsigned char c = 'A'; c <= 'Z'; ++c)
        sum += font->Glyphs[c].Advance + font->Glyphs[c + 32].Advance;
    metrics.AverageWidth = (sum + 26) / 52;
    metrics.Height = font->Ascent + font->Descent;
    return metrics;
}

void FillBox(Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rgb) {
    uint32_t pixel = MapRgbToPixel(surface, rgb);
    int32_t right = x + w < surface->Width ? x + w : surface->Width;
    int32_t bottom = y + h < surface->Height ? y + h : surface->Height;
    for (int32_t row = y < 0 ? 0 : y; row < bottom; ++row)
        for (int32_t col = x < 0 ? 0 : x; col < right; ++col) WritePixel(surface, col, row, pixel);
}

void FrameBox(Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t topLeft,
              uint32_t bottomRight) {
    FillBox(surface, x, y, w, 1, topLeft);
    FillBox(surface, x, y, 1, h, topLeft);
    FillBox(surface, x, y + h - 1, w, 1, bottomRight);
    FillBox(surface, x + w - 1, y, 1, h, bottomRight);
}

void DrawFocusFrame(Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h) {
    uint32_t pixel = MapRgbToPixel(surface, InkColour);
    for (int32_t i = 0; i < w; i += 2) {
        WritePixel(surface, x + i, y, pixel);
        WritePixel(surface, x + i, y + h - 1, pixel);
    }
    for (int32_t i = 0; i < h; i += 2) {
        WritePixel(surface, x, y + i, pixel);
        WritePixel(surface, x + w - 1, y + i, pixel);
    }
}

Surface* LoadPopupPicture(int32_t bitmapId) {
    DecodedBitmap bitmap;
    if (!LoadBitmapById(bitmapId, &bitmap)) return nullptr;
    Surface* picture = CreatePopupCanvas(bitmap.Width, bitmap.Height);
    if (picture && CopyBitmapToSurface(picture, &bitmap, 0, 0, 0, 0) != 0) {
        DestroySurface(picture);
        return nullptr;
    }
    return picture;
}

Surface* CreatePopupCanvas(int32_t w, int32_t h) {
    return CreateSurface(w, h, 32);
}
