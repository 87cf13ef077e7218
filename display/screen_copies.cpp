// The display's surfaces, and the whole-screen operations every display builds from its
// fills and copies: clearing all surfaces, and saving and restoring the static screen
// behind a banner.
#include "display/draw.h"
#include "shell/platform.h"

Surface* PrimarySurface = nullptr;
Surface* BackBuffer = nullptr;
Surface* BackBuffer2 = nullptr;
Surface* TitleSurface = nullptr;
Surface* GameOverSurface = nullptr;
Surface* OhNoSurface = nullptr;
Surface* LetsGoSurface = nullptr;

namespace {

void ClearReporting(Surface* surface, const char* text, const char* caption) {
    if (DDClearSurface(surface, 0) < 0) ShowStopMessageBox(text, caption);
}

} // namespace

void ClearAllSurfaces() {
    ClearReporting(PrimarySurface, "Failed to clear Primary.", "Primary Surface Fail.");
    ClearReporting(BackBuffer, "Failed to clear BackBuffer.", "Back Buffer Surface Fail.");
    ClearReporting(BackBuffer2, "Failed to clear BackBuffer 2.", "Back Buffer 2 Surface Fail.");
}

int32_t SaveStaticScreen() {
    return CopyScreenRows(BackBuffer2, BackBuffer, ScreenHeight);
}

int32_t RestoreStaticScreen() {
    // The status line is the one part of the screen that stays current.
    CopyScreenRows(BackBuffer2, BackBuffer, 30);
    return CopyScreenRows(BackBuffer, BackBuffer2, ScreenHeight);
}
