// Metrics of the dialog font. The dialogs are drawn with the game's text face at 8 points
// and 96 dpi; dialog units are converted with its average character width and height, as a
// dialog manager does. They come from the same glyphs the text is drawn with.
#include "display/draw.h"
#include "display/software/glyphs.h"
#include "display/software/text.h"
#include "shell/sdl/sdl_shell.h"

const DialogFontMetrics& DialogFont() {
    static DialogFontMetrics metrics;
    SetTextFont(nullptr, GameTextFace, GameTextTenths);
    const GlyphFont* font = TextGlyphs();
    if (!font) return metrics = DialogFontMetrics{};
    // The average width is that of the 52 letters, rounded.
    int32_t sum = 0;
    for (unsigned char c = 'A'; c <= 'Z'; ++c)
        sum += font->Glyphs[c].Advance + font->Glyphs[c + 32].Advance;
    metrics.AverageWidth = (sum + 26) / 52;
    metrics.Height = font->Ascent + font->Descent;
    return metrics;
}
