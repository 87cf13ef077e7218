// The main window's size: a whole-number scale of the 400x300 picture chosen from the
// display at start, kept or remembered afterwards, resizable with black borders round the
// picture, and desktop full screen on Alt+Enter.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "display/draw.h"
#include "shell/platform.h"
#include "shell/sdl/sdl_desktop.h"
#include "shell/sdl/sdl_shell.h"

namespace {

constexpr uint32_t PointerRestMs = 2000;
constexpr const char* DesktopFileId = "io.github.quorvanel.Quorvanel";

uint32_t PointerMovedAt = 0;
int32_t PointerHidden = 0;

int32_t UsableArea(SDL_Rect* area) {
    int32_t display = Shell.Window ? SDL_GetWindowDisplayIndex(Shell.Window) : 0;
    if (display < 0) display = 0;
    if (SDL_GetDisplayUsableBounds(display, area) == 0) return 1;
    return SDL_GetDisplayBounds(display, area) == 0;
}

// The scale the client area holds now, in window units.
int32_t ClientScale() {
    int w = ScreenWidth, h = ScreenHeight;
    if (Shell.Window) SDL_GetWindowSize(Shell.Window, &w, &h);
    return LayOutPicture(w, h).Scale;
}

// Any pointer movement, or the main window losing the keyboard to a dialog or menu, shows
// the pointer at once. A watch sees these events even while a dialog's loop takes them.
int SDLCALL PointerWatch(void*, SDL_Event* e) {
    if (e->type == SDL_MOUSEMOTION ||
        (e->type == SDL_WINDOWEVENT && e->window.event == SDL_WINDOWEVENT_FOCUS_LOST)) {
        PointerMovedAt = SDL_GetTicks();
        if (PointerHidden) SDL_ShowCursor(SDL_ENABLE);
        PointerHidden = 0;
    }
    return 1;
}

} // namespace

int32_t ChooseWindowScale() {
    SDL_Rect usable;
    if (!UsableArea(&usable)) return 1;
    // Xvfb and many X servers report no DPI: then the usable area alone decides.
    int32_t dpiScale = 1;
    float dpi = 0;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) == 0 && dpi > 0)
        dpiScale = static_cast<int32_t>(std::lround(dpi / 96.0f));
    return DefaultWindowScale(usable.w, usable.h, dpiScale);
}

uint32_t MainWindowFlags() {
    return SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
}

void SetDesktopIdentity() {
    // The desktop file's id as class and app-id, so the desktop finds the game's icon and
    // groups its windows; a value the user set stays.
    setenv("SDL_VIDEO_X11_WMCLASS", DesktopFileId, 0);
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", DesktopFileId, 0);
}

void ApplyRememberedSize() {
    if (!Shell.Window) return;
    SDL_Rect usable;
    if (RememberedWindow.Scale > 0 && UsableArea(&usable)) {
        // A scale remembered from a larger display shrinks to what this one holds.
        int32_t scale = std::min(RememberedWindow.Scale, LargestWindowScale(usable.w, usable.h));
        if (scale != ClientScale()) {
            SDL_SetWindowSize(Shell.Window, ScreenWidth * scale, ScreenHeight * scale);
            SDL_SetWindowPosition(Shell.Window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        }
    }
    RememberedWindow.Scale = ClientScale();
    Shell.Scale = PopupScale();
}

void ApplyRememberedFullScreen() {
    if (RememberedWindow.FullScreen && !IsFullScreen()) {
        RememberedWindow.FullScreen = 0;
        ToggleFullScreen();
    }
}

void HandleMainWindowSize() {
    if (!Shell.Window) return;
    int w = ScreenWidth, h = ScreenHeight;
    SDL_GetWindowSize(Shell.Window, &w, &h);
    uint32_t flags = SDL_GetWindowFlags(Shell.Window);
    // Without a window manager nothing enforces the minimum size: put it back ourselves.
    if (!(flags & SDL_WINDOW_FULLSCREEN) && (w < ScreenWidth || h < ScreenHeight)) {
        SDL_SetWindowSize(Shell.Window, std::max<int>(w, ScreenWidth),
                          std::max<int>(h, ScreenHeight));
        return;
    }
    if (!(flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED)))
        RememberedWindow.Scale = LayOutPicture(w, h).Scale;
    Shell.Scale = PopupScale();
}

int32_t IsFullScreen() {
    return Shell.Window && (SDL_GetWindowFlags(Shell.Window) & SDL_WINDOW_FULLSCREEN) != 0;
}

void ToggleFullScreen() {
    if (!Shell.Window) return;
    int32_t full = !IsFullScreen();
    // Desktop full screen keeps the display's mode; SDL brings the window back to its
    // earlier size and place when it leaves.
    if (SDL_SetWindowFullscreen(Shell.Window, full ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
        std::string line = std::string("ToggleFullScreen: ") + SDL_GetError() + "\n";
        DebugOutput(line.c_str());
        return;
    }
    RememberedWindow.FullScreen = full;
    PointerMovedAt = SDL_GetTicks();
}

int32_t PopupScale() {
    return ClientScale();
}

void WatchPointer() {
    PointerMovedAt = SDL_GetTicks();
    SDL_AddEventWatch(PointerWatch, nullptr);
}

void UpdatePointer() {
    int32_t hide = IsFullScreen() && SDL_GetKeyboardFocus() == Shell.Window &&
                   SDL_GetTicks() - PointerMovedAt >= PointerRestMs;
    if (hide == PointerHidden) return;
    SDL_ShowCursor(hide ? SDL_DISABLE : SDL_ENABLE);
    PointerHidden = hide;
}
