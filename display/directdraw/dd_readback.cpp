// Reading BackBuffer back through a lock: the screen image into the playfield grid, and the
// raw values of the reference colours into ColourTable.
#include <algorithm>
#include <cstring>

#include "display/backend.h"
#include "display/directdraw/dd_display.h"
#include "display/draw.h"
#include "playfield/playfield.h"
#include "shell/platform.h"

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

} // namespace

void GrabPlayfieldFromScreen() {
    AllocPlayfield();
    PresentFrame();
    if (LockBackBuffer() != DD_OK) {
        ShowStopMessageBox("Couldn't lock the primary surface.\n", "Lock Fail");
        return;
    }
    CellsFromPixels(static_cast<const uint8_t*>(SurfaceDesc.lpSurface), SurfaceDesc.lPitch,
                    static_cast<int32_t>(SurfaceDesc.dwWidth),
                    static_cast<int32_t>(SurfaceDesc.dwHeight),
                    static_cast<int32_t>(SurfaceDesc.ddpfPixelFormat.dwRGBBitCount));
    UnlockBackBuffer();
    PresentFrame();
}

void SampleColours() {
    if (LockBackBuffer() != DD_OK) {
        ShowStopMessageBox("Couldn't lock the back buffer surface.\n", "Lock Fail/Get Colours");
        return;
    }
    if (SurfaceDesc.dwHeight >= 16)
        ColoursFromPixels(static_cast<const uint8_t*>(SurfaceDesc.lpSurface), SurfaceDesc.lPitch);
    UnlockBackBuffer();
}
