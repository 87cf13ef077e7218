// What the software text offers besides the drawing operations of display/draw.h: measuring
// in the current text font, for the dialogs and the menu that lay text out themselves.
#pragma once
#include <cstdint>
#include <string_view>

struct GlyphFont;

// The current text font's glyphs, loaded on first use; nullptr when there is no such font.
const GlyphFont* TextGlyphs();
// How far the pen moves over the text in the current font; 0 without a font.
int32_t TextWidth(std::string_view text);
// Draws with these glyphs instead of the glyph source's until the next SetTextFont or
// DeleteTextFont: how the run-time and the built-in glyphs are held against each other.
void UseTextGlyphs(const GlyphFont* glyphs);
