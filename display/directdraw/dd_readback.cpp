// Reading BackBuffer back through a lock: the screen image into the playfield grid, and the
// raw values of the reference colours into ColourTable.
#include <algorithm>
#include <cstring>

#include "display/directdraw/dd_display.h"
#include "display/draw.h"
#include "playfield/playfield.h"
#include "shell/platform.h"

uint32_t ColourTable[16] = {};

const uint32_t ReferenceColours[15] = {
    Rgb(0, 0, 255),   Rgb(0, 255, 0),     Rgb(255, 0, 0),    Rgb(255, 0, 255), Rgb(255, 255, 0),
    Rgb(0, 255, 255), Rgb(255, 255, 255), Rgb(255, 201, 15), Rgb(0, 0, 127),   Rgb(0, 127, 0),
    Rgb(127, 0, 0),   Rgb(127, 0, 127),   Rgb(127, 127, 0),  Rgb(0, 127, 127), Rgb(127, 127, 127),
};

namespace {

HRESULT LockBackBuffer() {
    if (!BackBuffer) return DDERR_SURFACELOST;
    ZeroMemory(&SurfaceDesc, sizeof SurfaceDesc);
    SurfaceDesc.dwSize = sizeof SurfaceDesc;
    return BackBuffer->Dds->Lock(nullptr, &SurfaceDesc, DDLOCK_WAIT, nullptr);
}

void UnlockBackBuffer() {
    if (BackBuffer->Dds->Unlock(SurfaceDesc.lpSurface) != DD_OK)
        ShowStopMessageBox("Couldn't unlock the primary surface.\n", "Unlock Failure");
}

bool PixelSet(const uint8_t* row, int32_t x, int32_t bitsPerPixel) {
    switch (bitsPerPixel) {
    case 8: return row[x] != 0;
    case 16: {
        uint16_t pixel;
        std::memcpy(&pixel, row + 2 * x, 2);
        return pixel != 0;
    }
    case 24: return row[3 * x] != 0 || row[3 * x + 1] != 0 || row[3 * x + 2] != 0;
    default: {
        uint32_t pixel;
        std::memcpy(&pixel, row + 4 * x, 4);
        return pixel != 0;
    }
    }
}

} // namespace

void GrabPlayfieldFromScreen() {
    AllocPlayfield();
    PresentFrame();
    if (LockBackBuffer() != DD_OK) {
        ShowStopMessageBox("Couldn't lock the primary surface.\n", "Lock Fail");
        return;
    }
    const int32_t depth = static_cast<int32_t>(SurfaceDesc.ddpfPixelFormat.dwRGBBitCount);
    const bool knownDepth = depth == 8 || depth == 16 || depth == 24 || depth == 32;
    if (Playfield && SurfaceDesc.lpSurface && knownDepth) {
        // The grid is as large as the screen; a larger surface is read only that far.
        const int32_t rows = std::min(static_cast<int32_t>(SurfaceDesc.dwHeight), PlayfieldHeight);
        const int32_t columns = std::min(static_cast<int32_t>(SurfaceDesc.dwWidth), PlayfieldWidth);
        const auto* row = static_cast<const uint8_t*>(SurfaceDesc.lpSurface);
        for (int32_t y = 0; y < rows; ++y, row += SurfaceDesc.lPitch) {
            uint8_t* cells = Playfield + y * PlayfieldWidth;
            for (int32_t x = 0; x < columns; ++x)
                cells[x] = PixelSet(row, x, depth) ? CellWall : CellOpen;
        }
    }
    UnlockBackBuffer();
    PresentFrame();
}

void SampleColours() {
    if (LockBackBuffer() != DD_OK) {
        ShowStopMessageBox("Couldn't lock the back buffer surface.\n", "Lock Fail/Get Colours");
        return;
    }
    // The first word of a row holds the colour's pixel once or more at every depth, and
    // fills use only the low bits that fit a pixel.
    const auto* first = static_cast<const uint8_t*>(SurfaceDesc.lpSurface);
    const LONG step = SurfaceDesc.lPitch & ~3L;
    if (first && SurfaceDesc.dwHeight >= 16)
        for (int32_t i = 0; i < 16; ++i) std::memcpy(&ColourTable[i], first + i * step, 4);
    UnlockBackBuffer();
}

void DrawReferenceColours() {
    ClearAllSurfaces();
    for (int32_t i = 0; i < 15; ++i) DrawLine(BackBuffer, ReferenceColours[i], 0, i, 300, i);
    SampleColours();
}
