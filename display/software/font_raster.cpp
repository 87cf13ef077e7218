#include "display/software/font_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdlib>

#include "display/software/font_file.h"

namespace {

// One glyph rendered monochrome (every lit pixel is a wall once the screen is read back),
// its rows appended to bits.
void AddGlyph(FT_Face face, unsigned char code, GlyphImage* glyph, std::vector<uint8_t>* bits) {
    *glyph = GlyphImage{};
    glyph->Offset = static_cast<uint32_t>(bits->size());
    if (FT_Load_Char(face, code, FT_LOAD_DEFAULT) == 0)
        glyph->Extent = static_cast<int16_t>((face->glyph->advance.x + 32) >> 6);
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0)
        return;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph->Advance = static_cast<int16_t>((slot->advance.x + 32) >> 6);
    glyph->Left = static_cast<int16_t>(slot->bitmap_left);
    glyph->Top = static_cast<int16_t>(slot->bitmap_top);
    glyph->Columns = static_cast<int16_t>(bitmap.width);
    glyph->Rows = static_cast<int16_t>(bitmap.rows);
    const int32_t rowBytes = GlyphRowBytes(*glyph);
    const int32_t pitch = std::abs(bitmap.pitch);
    for (int32_t row = 0; row < glyph->Rows; ++row) {
        const uint8_t* line = bitmap.buffer + static_cast<size_t>(row) * pitch;
        const size_t start = bits->size();
        bits->resize(start + rowBytes, 0);
        for (int32_t column = 0; column < glyph->Columns; ++column) {
            int32_t lit = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                              ? (line[column >> 3] >> (7 - (column & 7))) & 1
                              : line[column] >= 128;
            if (lit) (*bits)[start + (column >> 3)] |= static_cast<uint8_t>(0x80 >> (column & 7));
        }
    }
}

} // namespace

int32_t RasteriseFont(const char* faceName, int32_t pixelHeight, RasterisedFont* out) {
    *out = RasterisedFont{};
    out->File = FontFileFor(faceName ? faceName : "");
    if (out->File.empty()) return 0;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return 0;
    FT_Face face = nullptr;
    int32_t ok = FT_New_Face(library, out->File.c_str(), 0, &face) == 0 &&
                 FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight)) == 0;
    if (ok) {
        const FT_Size_Metrics& metrics = face->size->metrics;
        out->Font.Ascent = static_cast<int32_t>((metrics.ascender + 63) >> 6);
        out->Font.Descent = static_cast<int32_t>((-metrics.descender + 63) >> 6);
        for (int32_t code = 1; code < 256; ++code)
            AddGlyph(face, static_cast<unsigned char>(code), &out->Font.Glyphs[code], &out->Bits);
        out->Font.Bits = out->Bits.data();
    }
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ok;
}
