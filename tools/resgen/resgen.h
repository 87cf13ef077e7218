// The resource generator's pieces: text art rendered with FreeType and quantised to a
// colour table, the icon, and the synthesised sounds.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/resgen/dib_encode.h"

struct ArtStyle {
    const char* Text = "";
    int32_t Width = 0, Height = 0;
    int32_t Colours = 16;       // size of the colour table, index 0 the transparent black
    std::vector<uint32_t> Fill; // gradient stops from top to bottom of the letters (RGB)
    uint32_t Outline = 0;       // dark rim around the letters
    uint32_t Shadow = 0;        // the extruded block behind them
    int32_t OutlineRadius = 2;  // pixels
    int32_t ShadowDepth = 3;    // pixels down and right
    float Slant = 0.0f;         // italic shear
    float Tracking = 0.0f;      // extra space between letters, in ems
};

// Finds the bold sans face: fontconfig first, then the usual Debian path. Empty if none.
std::string FindBoldFont();
// Renders the style's text filling its box; empty Indices on failure (message on stderr).
IndexedImage RenderTextArt(const std::string& fontPath, const ArtStyle& style);
// The picture as RGBA with index 0 transparent, for previews.
std::vector<uint8_t> IndexedToRgba(const IndexedImage& image);

// The icon, drawn at any size, RGBA top-down; and an .ico file of several sizes.
std::vector<uint8_t> DrawIcon(int32_t size);
// The sizes of the icon the desktop's icon theme gets (icon-SIZE.png).
constexpr int32_t AppIconSizes[] = {16, 32, 48, 64, 128, 256};
std::vector<uint8_t> BuildIco(const std::vector<int32_t>& sizes);

// The four sounds as complete RIFF files (PCM mono 11025 Hz 16-bit): 121..124.
std::vector<uint8_t> SynthesiseSound(int32_t id);

// The DIALOG statements of the Windows resource script, from the dialog templates.
std::string DialogScript();
