// What the read-backs of BackBuffer make of its pixels, and the reference colours they
// sample, the same for every display.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "display/backend.h"
#include "display/draw.h"
#include "playfield/playfield.h"
#include "shell/platform.h"

uint32_t ColourTable[16] = {};

const uint32_t ReferenceColours[15] = {
    Rgb(0, 0, 255),   Rgb(0, 255, 0),     Rgb(255, 0, 0),    Rgb(255, 0, 255), Rgb(255, 255, 0),
    Rgb(0, 255, 255), Rgb(255, 255, 255), Rgb(255, 201, 15), Rgb(0, 0, 127),   Rgb(0, 127, 0),
    Rgb(127, 0, 0),   Rgb(127, 0, 127),   Rgb(127, 127, 0),  Rgb(0, 127, 127), Rgb(127, 127, 127),
};

void CellsFromPixels(const uint8_t* first, ptrdiff_t pitch, int32_t width, int32_t height,
                     int32_t bitsPerPixel) {
    const bool knownDepth =
        bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
    if (!Playfield || !first || !knownDepth) return;
    // The grid is as large as the screen; a larger surface is read only that far.
    const int32_t rows = std::min(height, PlayfieldHeight);
    const int32_t columns = std::min(width, PlayfieldWidth);
    const int32_t bytesPerPixel = bitsPerPixel / 8;
    const uint8_t zero[4] = {0, 0, 0, 0};
    const uint8_t* row = first;
    for (int32_t y = 0; y < rows; ++y, row += pitch) {
        uint8_t* cells = Playfield + y * PlayfieldWidth;
        // Any non-zero byte of a pixel makes it a drawn pixel, at every depth.
        for (int32_t x = 0; x < columns; ++x)
            cells[x] = std::memcmp(row + x * bytesPerPixel, zero, bytesPerPixel) != 0 ? CellWall
                                                                                      : CellOpen;
    }
}

void ColoursFromPixels(const uint8_t* first, ptrdiff_t pitch) {
    if (!first) return;
    // The first word of a row holds the colour's pixel once or more at every depth, and
    // fills use only the low bits that fit a pixel; rows start a whole number of words apart.
    const ptrdiff_t step = pitch & ~ptrdiff_t{3};
    for (int32_t i = 0; i < 16; ++i) std::memcpy(&ColourTable[i], first + i * step, 4);
    // A palette file may map several reference colours to one entry; the values are still
    // used as sampled, but walls, trails and claims may then look alike, or like the ground.
    uint32_t sorted[15];
    std::copy(ColourTable, ColourTable + 15, sorted);
    std::sort(sorted, sorted + 15);
    const auto distinct = std::unique(sorted, sorted + 15) - sorted;
    if (distinct < 15) {
        char line[128];
        std::snprintf(line, sizeof line,
                      "SampleColours: the reference colours are not all distinct (%d of 15); "
                      "some will look alike.\n",
                      static_cast<int>(distinct));
        DebugOutput(line);
    }
}

void DrawReferenceColours() {
    ClearAllSurfaces();
    for (int32_t i = 0; i < 15; ++i) DrawLine(BackBuffer, ReferenceColours[i], 0, i, 300, i);
    SampleColours();
}
