// The glyphs of the text face as the software text draws them: monochrome images with their
// metrics, one per byte value. Each build links one glyph source: FreeType at run time
// (quorvanel_text_freetype) or the table built with the program (quorvanel_text_table), so
// a build without FreeType draws the same pixels.
#pragma once
#include <cstdint>

struct GlyphImage {
    int16_t Left = 0;    // from the pen position to the image's first column
    int16_t Top = 0;     // from the baseline up to the image's first row
    int16_t Columns = 0; // image size in pixels
    int16_t Rows = 0;
    int16_t Advance = 0; // how far the pen moves on
    // What the glyph adds to the text's extent, by which GDI aligns text and fills its
    // background: the face's own hinted advance, which the monochrome rendering does not
    // always keep.
    int16_t Extent = 0;
    uint32_t Offset = 0; // of the image's first row in GlyphFont::Bits
};

// A row of an image takes (Columns + 7) / 8 bytes, its leftmost pixel in the top bit.
constexpr int32_t GlyphRowBytes(const GlyphImage& glyph) {
    return (glyph.Columns + 7) / 8;
}

struct GlyphFont {
    int32_t Ascent = 0;  // pixels above the baseline
    int32_t Descent = 0; // and below it: a line of text is Ascent + Descent high
    GlyphImage Glyphs[256];
    const uint8_t* Bits = nullptr;
};

// The only face and size the game draws in (its status line, title page, dialogs and menu).
constexpr char GameTextFace[] = "Arial";
constexpr int32_t GameTextTenths = 80;

// A size in tenths of a point as a character height in pixels, at the logical resolution of
// 96 dots per inch: points to device pixels truncated, then rounded to whole pixels. A zero
// height asks for the default size.
constexpr int32_t TextPixelHeight(int32_t tenthsOfPoint) {
    const int32_t py = tenthsOfPoint * 96 / 72;
    const int32_t height = ((py < 0 ? -py : py) + 5) / 10;
    return height < 1 ? 11 : height;
}

// The glyph source. The face at the pixel height, or nullptr when this build has no such
// font; the glyphs stay valid until the next call or ReleaseGlyphFont.
const GlyphFont* LoadGlyphFont(const char* faceName, int32_t pixelHeight);
void ReleaseGlyphFont();

// The glyph table built with the program: one face at one height (defined by the file the
// glyph generator writes).
extern const char GlyphTableFace[];
extern const int32_t GlyphTablePixelHeight;
extern const GlyphFont GlyphTable;
