// Text in the one shared font, drawn over an opaque cell box as GDI's TextOut does. The
// glyphs come from the build's glyph source (display/software/glyphs.h); everything here is
// the same in every build.
#include <cstring>
#include <string>

#include "display/draw.h"
#include "display/software/glyphs.h"
#include "display/software/result_codes.h"
#include "display/software/surface.h"
#include "display/software/text.h"
#include "shell/platform.h"

namespace {

struct TextFontState {
    // Until the game picks a font, text comes out in the game's own face and size.
    std::string Face = GameTextFace;
    int32_t PixelHeight = TextPixelHeight(GameTextTenths);
    int32_t Tried = 0;
    const GlyphFont* Glyphs = nullptr;
    int32_t Ascent = 0;
    int32_t Descent = 0;
    int32_t Substitute = 0; // the glyphs were put in by UseTextGlyphs
};

TextFontState TextFont;
int32_t FailureReported = 0;

enum class Align { Left, Right, Centre };

void DropFont() {
    TextFont.Glyphs = nullptr;
    TextFont.Tried = 0;
    TextFont.Substitute = 0;
}

void UseGlyphs(const GlyphFont* glyphs) {
    TextFont.Glyphs = glyphs;
    TextFont.Tried = 1;
    TextFont.Ascent = glyphs ? glyphs->Ascent : 0;
    TextFont.Descent = glyphs ? glyphs->Descent : 0;
}

// Loads the face on first use; a missing face is reported once and text is then skipped.
int32_t EnsureFont() {
    if (TextFont.Tried) return TextFont.Glyphs != nullptr;
    UseGlyphs(LoadGlyphFont(TextFont.Face.c_str(), TextFont.PixelHeight));
    if (TextFont.Glyphs) return 1;
    if (!FailureReported)
        DebugOutput(("SetTextFont: no font for " + TextFont.Face + ".\n").c_str());
    FailureReported = 1;
    return 0;
}

const GlyphImage& GlyphFor(unsigned char code) {
    return TextFont.Glyphs->Glyphs[code];
}

// Writes one pixel value, Bytes wide, in the surface's byte order.
template <int32_t Bytes> void Put(uint8_t* at, uint32_t pixel) {
    if constexpr (Bytes == 4) {
        std::memcpy(at, &pixel, 4);
    } else {
        for (int32_t i = 0; i < Bytes; ++i) at[i] = static_cast<uint8_t>(pixel >> (8 * i));
    }
}

// The glyph images of the text, the pen starting at left: their lit pixels take the pixel
// value where they fall inside the clip box (the rows of the text's cell, cut to the surface).
template <int32_t Bytes>
void PaintGlyphs(Surface* surface, const unsigned char* text, int32_t left, int32_t baseline,
                 int32_t clipLeft, int32_t clipTop, int32_t clipRight, int32_t clipBottom,
                 uint32_t pixel) {
    const GlyphFont& font = *TextFont.Glyphs;
    int32_t pen = left;
    for (const unsigned char* p = text; *p; ++p) {
        const GlyphImage& glyph = font.Glyphs[*p];
        const int32_t x0 = pen + glyph.Left, y0 = baseline - glyph.Top;
        pen += glyph.Advance;
        const int32_t firstRow = y0 < clipTop ? clipTop - y0 : 0;
        const int32_t endRow = y0 + glyph.Rows > clipBottom ? clipBottom - y0 : glyph.Rows;
        const int32_t firstColumn = x0 < clipLeft ? clipLeft - x0 : 0;
        const int32_t endColumn = x0 + glyph.Columns > clipRight ? clipRight - x0 : glyph.Columns;
        if (firstRow >= endRow || firstColumn >= endColumn) continue;
        const int32_t rowBytes = GlyphRowBytes(glyph);
        for (int32_t row = firstRow; row < endRow; ++row) {
            const uint8_t* bits = font.Bits + glyph.Offset + static_cast<size_t>(row) * rowBytes;
            uint8_t* out = surface->Pixels.data() + static_cast<size_t>(y0 + row) * surface->Pitch;
            for (int32_t column = firstColumn; column < endColumn; ++column)
                if (bits[column >> 3] & (0x80 >> (column & 7)))
                    Put<Bytes>(out + static_cast<size_t>(x0 + column) * Bytes, pixel);
        }
    }
}

void PaintText(Surface* surface, const unsigned char* text, int32_t left, int32_t top,
               int32_t width, int32_t height, int32_t pen, int32_t baseline, uint32_t pixel) {
    const int32_t clipLeft = left > 0 ? left : 0, clipTop = top > 0 ? top : 0;
    const int32_t clipRight = left + width < surface->Width ? left + width : surface->Width;
    const int32_t clipBottom = top + height < surface->Height ? top + height : surface->Height;
    if (clipLeft >= clipRight || clipTop >= clipBottom) return;
    switch (surface->BitsPerPixel) {
    case 8:
        PaintGlyphs<1>(surface, text, pen, baseline, clipLeft, clipTop, clipRight, clipBottom,
                       pixel);
        break;
    case 16:
        PaintGlyphs<2>(surface, text, pen, baseline, clipLeft, clipTop, clipRight, clipBottom,
                       pixel);
        break;
    case 24:
        PaintGlyphs<3>(surface, text, pen, baseline, clipLeft, clipTop, clipRight, clipBottom,
                       pixel);
        break;
    case 32:
        PaintGlyphs<4>(surface, text, pen, baseline, clipLeft, clipTop, clipRight, clipBottom,
                       pixel);
        break;
    default: break;
    }
}

int32_t DrawTextAligned(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                        int32_t x, int32_t y, Align align) {
    if (!surface) return SurfaceMissing;
    if (!text || !EnsureFont()) return SurfaceOk;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int32_t extent = 0;
    for (const unsigned char* p = bytes; *p; ++p) extent += GlyphFor(*p).Extent;
    const int32_t height = TextFont.Ascent + TextFont.Descent;
    // Placed as GDI places it: x is the left edge, the right edge (the text ends on column
    // x - 1) or the centre, with the odd pixel of an odd extent to the right.
    int32_t left = x;
    if (align == Align::Right) left = x - extent;
    if (align == Align::Centre) left = x - extent / 2;
    DDFillRect(surface, MapRgbToPixel(surface, background), left, y, extent, height);

    // The glyphs step by their rendered advances from the left edge and, as in GDI, may
    // reach past the background box when those add up to more than the extent; only the
    // cell's rows bound them.
    const uint32_t pixel = MapRgbToPixel(surface, colour);
    const int32_t baseline = y + TextFont.Ascent;
    PaintText(surface, bytes, 0, y, surface->Width, height, left, baseline, pixel);
    return SurfaceOk;
}

} // namespace

int32_t DrawTextLeft(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                     int32_t x, int32_t y) {
    return DrawTextAligned(surface, text, background, colour, x, y, Align::Left);
}

int32_t DrawTextRight(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                      int32_t x, int32_t y) {
    return DrawTextAligned(surface, text, background, colour, x, y, Align::Right);
}

int32_t DrawTextCentred(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                        int32_t x, int32_t y) {
    return DrawTextAligned(surface, text, background, colour, x, y, Align::Centre);
}

void DeleteTextFont() {
    DropFont();
    ReleaseGlyphFont();
}

int32_t SetTextFont(Surface*, const char* faceName, int32_t tenthsOfPoint) {
    const int32_t pixelHeight = TextPixelHeight(tenthsOfPoint);
    std::string face = faceName ? faceName : "";
    if (face != TextFont.Face || pixelHeight != TextFont.PixelHeight || TextFont.Substitute) {
        DropFont();
        TextFont.Face = face;
        TextFont.PixelHeight = pixelHeight;
    }
    return SurfaceOk;
}

const GlyphFont* TextGlyphs() {
    return EnsureFont() ? TextFont.Glyphs : nullptr;
}

int32_t TextWidth(std::string_view text) {
    if (!EnsureFont()) return 0;
    int32_t width = 0;
    for (char c : text) width += GlyphFor(static_cast<unsigned char>(c)).Advance;
    return width;
}

void UseTextGlyphs(const GlyphFont* glyphs) {
    UseGlyphs(glyphs);
    TextFont.Substitute = 1;
}
