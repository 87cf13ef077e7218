// The DirectDraw display: set-up in a window on the shared desktop, the copy of each frame
// into the window, recovery from lost surfaces and the orderly release.
#include "display/directdraw/dd_display.h"
#include "display/draw.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/platform.h"
#include "shell/win32/win32_shell.h"

IDirectDraw* DDObject = nullptr;
IDirectDrawClipper* Clipper = nullptr;
IDirectDrawPalette* Palette = nullptr;
DDSURFACEDESC SurfaceDesc;
RECT WindowRect;
int32_t DisplayRebuilding = 0;

namespace {

// What a blit reports when one of its surfaces does not exist: as good as lost.
constexpr HRESULT NoSurface = DDERR_SURFACELOST;

HWND MainWindowHandle() {
    return static_cast<HWND>(Game.MainWindow);
}

// Reads a new surface's pixel format into its description; a failure is shown and set-up
// goes on.
void ReadPixelFormat(IDirectDrawSurface* surface, DDSURFACEDESC* desc, const char* failure) {
    desc->ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    if (surface->GetPixelFormat(&desc->ddpfPixelFormat) != DD_OK)
        ShowStopMessageBox(failure, "Format Fail");
}

// An off-screen surface of the screen's size in the display's own format.
void DescribeBackBuffer(DDSURFACEDESC* desc) {
    ZeroMemory(desc, sizeof *desc);
    desc->dwSize = sizeof *desc;
    desc->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc->ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc->dwWidth = ScreenWidth;
    desc->dwHeight = ScreenHeight;
}

HRESULT RestoreBackBuffer(Surface* surface) {
    if (!surface) return NoSurface;
    HRESULT result = surface->Dds->Restore();
    // A surface made together with another cannot be restored on its own; that is no failure.
    if (result != DD_OK && result != DDERR_IMPLICITLYCREATED) return result;
    return DD_OK;
}

} // namespace

Surface* WrapSurface(IDirectDrawSurface* dds) {
    if (!dds) return nullptr;
    auto* surface = new Surface;
    surface->Dds = dds;
    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    if (dds->GetSurfaceDesc(&desc) == DD_OK) {
        surface->Width = static_cast<int32_t>(desc.dwWidth);
        surface->Height = static_cast<int32_t>(desc.dwHeight);
    }
    return surface;
}

void ReleaseSurface(Surface** surface) {
    if (!*surface) return;
    if ((*surface)->Dds) (*surface)->Dds->Release();
    delete *surface;
    *surface = nullptr;
}

HRESULT DDStartup(IDirectDraw** object, GUID* driver, HWND window) {
    HRESULT result = DirectDrawCreate(driver, object, nullptr);
    if (result != DD_OK) return result;
    // A window on the shared desktop: no exclusive mode, no change of display mode.
    result = (*object)->SetCooperativeLevel(window, DDSCL_NORMAL);
    DebugOutput("DDStartup: Setting Windowed Mode.");
    return result;
}

HRESULT DDCreateFakeFlipper(IDirectDraw* object, Surface** primary, Surface** backBuffer,
                            Surface** backBuffer2) {
    DDSURFACEDESC primaryDesc;
    ZeroMemory(&primaryDesc, sizeof primaryDesc);
    primaryDesc.dwSize = sizeof primaryDesc;
    primaryDesc.dwFlags = DDSD_CAPS;
    primaryDesc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* dds = nullptr;
    HRESULT result = object->CreateSurface(&primaryDesc, &dds, nullptr);
    if (result != DD_OK) {
        DebugOutput("DDCreateFakeFlipper: Couldn't create primary.\n");
        return result;
    }
    *primary = WrapSurface(dds);
    ReadPixelFormat(dds, &primaryDesc, "Couldn't get primary pixel Format.\n");

    DescribeBackBuffer(&SurfaceDesc);
    result = object->CreateSurface(&SurfaceDesc, &dds, nullptr);
    if (result != DD_OK) {
        DebugOutput("DDCreateFakeFlipper: Couldn't create backbuffer.\n");
        return result;
    }
    *backBuffer = WrapSurface(dds);
    ReadPixelFormat(dds, &SurfaceDesc, "Couldn't get Back Buffer pixel Format.\n");

    DDSURFACEDESC secondDesc;
    DescribeBackBuffer(&secondDesc);
    result = object->CreateSurface(&secondDesc, &dds, nullptr);
    if (result != DD_OK) {
        DebugOutput("DDCreateFakeFlipper: Couldn't create backbuffer2.\n");
        return result;
    }
    *backBuffer2 = WrapSurface(dds);
    // The second back buffer's failure has always been reported with the primary's text.
    ReadPixelFormat(dds, &secondDesc, "Couldn't get primary pixel Format.\n");

    DebugOutput("DDCreateFakeFlipper: Using fake flippers.\n");
    return result;
}

int32_t DDWinConfigure(IDirectDraw* object, Surface** primary, Surface** backBuffer,
                       IDirectDrawClipper** clipper, Surface** backBuffer2, HWND window) {
    if (DDCreateFakeFlipper(object, primary, backBuffer, backBuffer2) != DD_OK) return 0;
    if (object->CreateClipper(0, clipper, nullptr) != DD_OK) return 0;
    if ((*clipper)->SetHWnd(0, window) != DD_OK) {
        (*clipper)->Release();
        *clipper = nullptr;
        return 0;
    }
    (*primary)->Dds->SetClipper(*clipper);
    // The primary keeps the clipper alive from here on.
    (*clipper)->Release();
    *clipper = nullptr;
    return LoadGameArt(DDSCAPS_OFFSCREENPLAIN, nullptr);
}

int32_t InitDisplay() {
    HWND window = CreateMainWindow(static_cast<HINSTANCE>(Game.AppInstance), MainWindowProc,
                                   ScreenWidth, ScreenHeight);
    Game.MainWindow = window;
    if (!window) return 0;
    if (DDStartup(&DDObject, nullptr, window) != DD_OK) {
        DebugOutput("DDStartup failed.\n");
        return 0;
    }
    if (!DDWinConfigure(DDObject, &PrimarySurface, &BackBuffer, &Clipper, &BackBuffer2, window)) {
        DebugOutput("DDWinConfigure Failed!\n");
        return 0;
    }
    return 1;
}

int32_t PresentFrame() {
    // The title state composes its climbing logo on the second back buffer.
    Surface* source = Game.GameState == StateTitle ? BackBuffer2 : BackBuffer;
    if (!PrimarySurface || !source) return NoSurface;
    return PrimarySurface->Dds->Blt(&WindowRect, source->Dds, nullptr, DDBLT_WAIT, nullptr);
}

HRESULT RestoreSurfaces() {
    ArtHolder* const art[] = {&TitleArt, &GameOverArt, &OhNoArt, &LetsGoArt};
    const int32_t ids[] = {TitleArtId, GameOverArtId, OhNoArtId, LetsGoArtId};
    for (int32_t i = 0; i < 4; ++i) {
        HRESULT result = RestoreArtSprite(art[i], ids[i]);
        if (result < 0) return result;
    }
    if (PrimarySurface) PrimarySurface->Dds->Restore();
    HRESULT result = RestoreBackBuffer(BackBuffer);
    if (result != DD_OK) return result;
    return RestoreBackBuffer(BackBuffer2);
}

void RebuildDisplay() {
    if (RestoreSurfaces() == DD_OK) return;
    // The old window's destruction must not end the program.
    DisplayRebuilding = 1;
    ShutdownDisplay();
    if (!InitDisplay()) DebugOutput("Reinitialization failed.\n");
    // The release took the grid too; nothing may read a missing grid until the title page
    // takes it from the screen again.
    if (!Playfield) AllocPlayfield();
    if (MainWindowHandle()) ShowWindow(MainWindowHandle(), SW_SHOWNORMAL);
    DisplayRebuilding = 0;
}

void ReleaseDisplay() {
    if (DDObject) {
        ReleaseSurface(&BackBuffer);
        ReleaseSurface(&PrimarySurface);
        ReleaseSurface(&TitleSurface);
        ReleaseSurface(&GameOverSurface);
        ReleaseSurface(&BackBuffer2);
        ReleaseSurface(&OhNoSurface);
        ReleaseSurface(&LetsGoSurface);
        // The clipper and the palette went with the primary that held them.
        Clipper = nullptr;
        Palette = nullptr;
        DDObject->Release();
        DDObject = nullptr;
    }
    FreePlayfield();
}

void ShutdownDisplay() {
    ReleaseDisplay();
    HWND window = MainWindowHandle();
    Game.MainWindow = nullptr;
    if (window) DestroyWindow(window);
}
