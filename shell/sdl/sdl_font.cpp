// Metrics of the dialog font. The dialogs are drawn with the game's text face ("Arial",
// which fontconfig resolves to Liberation Sans) at 8 points and 96 dpi; dialog units are
// converted with its average character width and height, as a dialog manager does.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "display/software/font_file.h"
#include "shell/sdl/sdl_shell.h"

namespace {

// 8 points at 96 dpi, rounded to whole pixels as the game's own text is.
constexpr FT_UInt DialogFontPixels = 11;

FT_Library Library = nullptr;
FT_Face Face = nullptr;
DialogFontMetrics Metrics;
int32_t Measured = 0;

int32_t Advance(unsigned char c) {
    if (!Face || FT_Load_Char(Face, c, FT_LOAD_DEFAULT) != 0) return Metrics.AverageWidth;
    return static_cast<int32_t>((Face->glyph->advance.x + 32) >> 6);
}

void Measure() {
    Measured = 1;
    std::string file = FontFileFor("Arial");
    if (file.empty() || FT_Init_FreeType(&Library) != 0) return;
    if (FT_New_Face(Library, file.c_str(), 0, &Face) != 0 ||
        FT_Set_Pixel_Sizes(Face, 0, DialogFontPixels) != 0) {
        Face = nullptr;
        return;
    }
    // The average width is that of the 52 letters, rounded.
    int32_t sum = 0;
    for (unsigned char c = 'A'; c <= 'Z'; ++c) sum += Advance(c) + Advance(c + 32);
    Metrics.AverageWidth = (sum + 26) / 52;
    const FT_Size_Metrics& size = Face->size->metrics;
    Metrics.Height = static_cast<int32_t>((size.ascender - size.descender + 63) >> 6);
}

} // namespace

const DialogFontMetrics& DialogFont() {
    if (!Measured) Measure();
    return Metrics;
}

void ReleaseDialogFont() {
    if (Face) FT_Done_Face(Face);
    if (Library) FT_Done_FreeType(Library);
    Face = nullptr;
    Library = nullptr;
    Measured = 0;
}

int32_t TextWidth(const char* text) {
    DialogFont();
    int32_t width = 0;
    for (const char* p = text; *p; ++p) width += Advance(static_cast<unsigned char>(*p));
    return width;
}
