// Reading BackBuffer back: the screen image into the playfield grid, and the raw values of
// the reference colours into ColourTable.
#include <algorithm>
#include <cstring>

#include "display/draw.h"
#include "display/software/surface.h"
#include "playfield/playfield.h"
#include "shell/platform.h"

uint32_t ColourTable[16] = {};

const uint32_t ReferenceColours[15] = {
    Rgb(0, 0, 255),   Rgb(0, 255, 0),     Rgb(255, 0, 0),    Rgb(255, 0, 255), Rgb(255, 255, 0),
    Rgb(0, 255, 255), Rgb(255, 255, 255), Rgb(255, 201, 15), Rgb(0, 0, 127),   Rgb(0, 127, 0),
    Rgb(127, 0, 0),   Rgb(127, 0, 127),   Rgb(127, 127, 0),  Rgb(0, 127, 127), Rgb(127, 127, 127),
};

void GrabPlayfieldFromScreen() {
    AllocPlayfield();
    PresentFrame();
    if (!BackBuffer) {
        ShowStopMessageBox("Couldn't lock the primary surface.\n", "Lock Fail");
        return;
    }
    if (Playfield) {
        const int32_t rows = std::min(BackBuffer->Height, PlayfieldHeight);
        const int32_t columns = std::min(BackBuffer->Width, PlayfieldWidth);
        const int32_t bytesPerPixel = BackBuffer->BitsPerPixel / 8;
        const uint8_t zero[4] = {0, 0, 0, 0};
        for (int32_t y = 0; y < rows; ++y) {
            const uint8_t* row =
                BackBuffer->Pixels.data() + static_cast<size_t>(y) * BackBuffer->Pitch;
            uint8_t* cells = Playfield + y * PlayfieldWidth;
            // Any non-zero byte of a pixel makes it a drawn pixel, at every depth.
            for (int32_t x = 0; x < columns; ++x)
                cells[x] = std::memcmp(row + x * bytesPerPixel, zero, bytesPerPixel) != 0
                               ? CellWall
                               : CellOpen;
        }
    }
    PresentFrame();
}

void SampleColours() {
    if (!BackBuffer) {
        ShowStopMessageBox("Couldn't lock the back buffer surface.\n", "Lock Fail/Get Colours");
        return;
    }
    // The first word of a row holds the colour's pixel once or more at every depth, and
    // fills use only the low bits that fit a pixel.
    const size_t step = static_cast<size_t>(BackBuffer->Pitch) & ~size_t{3};
    for (int32_t i = 0; i < 16 && i < BackBuffer->Height; ++i) {
        uint32_t word;
        std::memcpy(&word, BackBuffer->Pixels.data() + i * step, 4);
        ColourTable[i] = word;
    }
}

void DrawReferenceColours() {
    ClearAllSurfaces();
    for (int32_t i = 0; i < 15; ++i) DrawLine(BackBuffer, ReferenceColours[i], 0, i, 300, i);
    SampleColours();
}
