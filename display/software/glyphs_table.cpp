// The glyph source of the builds without FreeType (the browser, the Windows simulator): the
// table the glyph generator made at build time from the face the desktop build uses.
#include "display/software/glyphs.h"

namespace {

int32_t SameFace(const char* a, const char* b) {
    // Font names are matched without regard to case, as font look-ups do.
    for (; *a && *b; ++a, ++b) {
        char x = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a + 32) : *a;
        char y = *b >= 'A' && *b <= 'Z' ? static_cast<char>(*b + 32) : *b;
        if (x != y) return 0;
    }
    return *a == *b;
}

} // namespace

const GlyphFont* LoadGlyphFont(const char* faceName, int32_t pixelHeight) {
    if (!faceName || pixelHeight != GlyphTablePixelHeight || !SameFace(faceName, GlyphTableFace))
        return nullptr;
    return &GlyphTable;
}

void ReleaseGlyphFont() {}
