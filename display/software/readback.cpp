// Reading BackBuffer back: the screen image into the playfield grid, and the raw values of
// the reference colours into ColourTable.
#include "display/backend.h"
#include "display/draw.h"
#include "display/software/surface.h"
#include "playfield/playfield.h"
#include "shell/platform.h"

void GrabPlayfieldFromScreen() {
    AllocPlayfield();
    PresentFrame();
    if (!BackBuffer) {
        ShowStopMessageBox("Couldn't lock the primary surface.\n", "Lock Fail");
        return;
    }
    CellsFromPixels(BackBuffer->Pixels.data(), BackBuffer->Pitch, BackBuffer->Width,
                    BackBuffer->Height, BackBuffer->BitsPerPixel);
    PresentFrame();
}

void SampleColours() {
    if (!BackBuffer) {
        ShowStopMessageBox("Couldn't lock the back buffer surface.\n", "Lock Fail/Get Colours");
        return;
    }
    if (BackBuffer->Height >= 16) ColoursFromPixels(BackBuffer->Pixels.data(), BackBuffer->Pitch);
}
