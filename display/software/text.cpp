// Text in the one shared font: FreeType glyphs rendered monochrome (every lit pixel is a
// wall once the screen is read back), drawn over an opaque cell box as GDI's TextOut does.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/font_file.h"
#include "display/software/result_codes.h"
#include "display/software/surface.h"
#include "shell/platform.h"

namespace {

struct Glyph {
    int32_t Loaded = 0;
    int32_t Left = 0; // from the pen position to the bitmap's first column
    int32_t Top = 0;  // from the baseline up to the bitmap's first row
    int32_t Columns = 0;
    int32_t Rows = 0;
    int32_t Advance = 0;
    std::vector<uint8_t> Lit; // Columns x Rows, 1 where the glyph covers the pixel
};

struct TextFontState {
    // Until the game picks a font, text comes out in the game's own face and size.
    std::string Face = "Arial";
    int32_t PixelHeight = 11;
    int32_t Tried = 0;
    FT_Face Handle = nullptr;
    int32_t Ascent = 0;
    int32_t Descent = 0;
    Glyph Glyphs[256];
};

FT_Library Library = nullptr;
TextFontState TextFont;
int32_t FailureReported = 0;

enum class Align { Left, Right, Centre };

void DropFont() {
    if (TextFont.Handle) FT_Done_Face(TextFont.Handle);
    TextFont.Handle = nullptr;
    TextFont.Tried = 0;
    for (Glyph& glyph : TextFont.Glyphs) glyph = Glyph{};
}

// Loads the face on first use; a missing face is reported once and text is then skipped.
int32_t EnsureFont() {
    if (TextFont.Tried) return TextFont.Handle != nullptr;
    TextFont.Tried = 1;
    std::string file = FontFileFor(TextFont.Face.c_str());
    int32_t ok = !file.empty() && (Library || FT_Init_FreeType(&Library) == 0);
    if (ok && FT_New_Face(Library, file.c_str(), 0, &TextFont.Handle) != 0) {
        TextFont.Handle = nullptr;
        ok = 0;
    }
    if (ok && FT_Set_Pixel_Sizes(TextFont.Handle, 0, TextFont.PixelHeight) != 0) ok = 0;
    if (!ok) {
        DropFont();
        TextFont.Tried = 1;
        if (!FailureReported)
            DebugOutput(("SetTextFont: no font for " + TextFont.Face + ".\n").c_str());
        FailureReported = 1;
        return 0;
    }
    const FT_Size_Metrics& metrics = TextFont.Handle->size->metrics;
    TextFont.Ascent = static_cast<int32_t>((metrics.ascender + 63) >> 6);
    TextFont.Descent = static_cast<int32_t>((-metrics.descender + 63) >> 6);
    return 1;
}

const Glyph& GlyphFor(unsigned char code) {
    Glyph& glyph = TextFont.Glyphs[code];
    if (glyph.Loaded) return glyph;
    glyph.Loaded = 1;
    FT_Face face = TextFont.Handle;
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.Advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    glyph.Columns = static_cast<int32_t>(bitmap.width);
    glyph.Rows = static_cast<int32_t>(bitmap.rows);
    glyph.Lit.assign(static_cast<size_t>(glyph.Columns) * glyph.Rows, 0);
    const int32_t pitch = std::abs(bitmap.pitch);
    for (int32_t row = 0; row < glyph.Rows; ++row) {
        const uint8_t* line = bitmap.buffer + static_cast<size_t>(row) * pitch;
        for (int32_t column = 0; column < glyph.Columns; ++column) {
            int32_t lit = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                              ? (line[column >> 3] >> (7 - (column & 7))) & 1
                              : line[column] >= 128;
            glyph.Lit[static_cast<size_t>(row) * glyph.Columns + column] =
                static_cast<uint8_t>(lit);
        }
    }
    return glyph;
}

int32_t DrawTextAligned(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                        int32_t x, int32_t y, Align align) {
    if (!surface) return SurfaceMissing;
    if (!text || !EnsureFont()) return SurfaceOk;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    int32_t width = 0;
    for (const unsigned char* p = bytes; *p; ++p) width += GlyphFor(*p).Advance;
    const int32_t height = TextFont.Ascent + TextFont.Descent;
    // Right-aligned text ends on column x itself, so text at x 399 reaches the last column.
    int32_t left = x;
    if (align == Align::Right) left = x - width + 1;
    if (align == Align::Centre) left = x - width / 2;
    DDFillRect(surface, MapRgbToPixel(surface, background), left, y, width, height);

    // Glyph pixels stay inside the cell box, so redrawing a text of the same length always
    // covers the old one completely.
    const uint32_t pixel = MapRgbToPixel(surface, colour);
    const int32_t baseline = y + TextFont.Ascent;
    int32_t pen = left;
    for (const unsigned char* p = bytes; *p; ++p) {
        const Glyph& glyph = GlyphFor(*p);
        for (int32_t row = 0; row < glyph.Rows; ++row) {
            int32_t py = baseline - glyph.Top + row;
            if (py < y || py >= y + height) continue;
            for (int32_t column = 0; column < glyph.Columns; ++column) {
                int32_t px = pen + glyph.Left + column;
                if (px < left || px >= left + width) continue;
                if (glyph.Lit[static_cast<size_t>(row) * glyph.Columns + column])
                    WritePixel(surface, px, py, pixel);
            }
        }
        pen += glyph.Advance;
    }
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
    if (Library) FT_Done_FreeType(Library);
    Library = nullptr;
}

int32_t SetTextFont(Surface*, const char* faceName, int32_t tenthsOfPoint) {
    // Logical resolution of 96 dots per inch: points to device pixels, truncated, then
    // rounded to a whole character height.
    const int32_t py = tenthsOfPoint * 96 / 72;
    int32_t pixelHeight = static_cast<int32_t>(std::abs(py) / 10.0 + 0.5);
    if (pixelHeight < 1) pixelHeight = 11; // a zero height asks for the default size
    std::string face = faceName ? faceName : "";
    if (face != TextFont.Face || pixelHeight != TextFont.PixelHeight) {
        DropFont();
        TextFont.Face = face;
        TextFont.PixelHeight = pixelHeight;
    }
    return SurfaceOk;
}
