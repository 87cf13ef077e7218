// The text face rasterised with FreeType, monochrome, as the game draws it: what the run-time
// glyph source serves and what the glyph generator writes into the built-in table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "display/software/glyphs.h"

struct RasterisedFont {
    GlyphFont Font; // its Bits point into Bits below, so the record is moved, never copied
    std::vector<uint8_t> Bits;
    std::string File; // the font file fontconfig chose
};

// Every byte value from 1 to 255 of the face that fontconfig matches to faceName, at the
// pixel height. 1, or 0 when no such face can be loaded.
int32_t RasteriseFont(const char* faceName, int32_t pixelHeight, RasterisedFont* out);
