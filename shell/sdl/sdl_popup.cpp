// Windows of their own for the dialogs and the context menu, showing their canvases, and
// SDL's events as the neutral records the pop-ups take.
#include "display/draw.h"
#include "shell/sdl/sdl_shell.h"

int32_t OpenPopupWindow(PopupWindow* popup, const char* title, int32_t x, int32_t y, int32_t w,
                        int32_t h, uint32_t flags) {
    popup->Window =
        SDL_CreateWindow(title, x, y, w * Shell.Scale, h * Shell.Scale, flags | SDL_WINDOW_HIDDEN);
    if (!popup->Window) return 0;
    popup->Renderer = SDL_CreateRenderer(popup->Window, -1, 0);
    if (popup->Renderer)
        popup->Texture = SDL_CreateTexture(popup->Renderer, SDL_PIXELFORMAT_RGB888,
                                           SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!popup->Texture) {
        ClosePopupWindow(popup);
        return 0;
    }
    return 1;
}

void ShowPopupPicture(PopupWindow* popup, const Surface* canvas) {
    UploadSurface(popup->Texture, canvas);
    SDL_RenderCopy(popup->Renderer, popup->Texture, nullptr, nullptr);
    SDL_RenderPresent(popup->Renderer);
}

void ClosePopupWindow(PopupWindow* popup) {
    if (popup->Texture) SDL_DestroyTexture(popup->Texture);
    if (popup->Renderer) SDL_DestroyRenderer(popup->Renderer);
    if (popup->Window) SDL_DestroyWindow(popup->Window);
    *popup = PopupWindow{};
}

void FocusWindow(SDL_Window* window) {
    if (!window) return;
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
}

void KeepMainWindowPainted() {
    if (!Shell.Window || !PrimarySurface) return;
    PresentFrame();
    ShowPrimarySurface();
}

// SDL's own wait (2.26, as Debian ships it) remembers a window to wake when another thread
// adds an event, and may still send that wake-up after the window has been destroyed: the
// X server refuses it and Xlib ends the program. Polling with short sleeps never hands SDL
// a window to wake, and a millisecond of delay is nothing for input.
int32_t WaitForEvent(SDL_Event* event, int32_t milliseconds) {
    const uint32_t start = SDL_GetTicks();
    for (;;) {
        if (SDL_PollEvent(event)) return 1;
        if (static_cast<int32_t>(SDL_GetTicks() - start) >= milliseconds) return 0;
        SDL_Delay(1);
    }
}

// SDL numbers the mouse buttons as the pop-ups do: 1 left, 2 middle, 3 right.
static_assert(SDL_BUTTON_LEFT == MouseLeft && SDL_BUTTON_RIGHT == MouseRight);

int32_t PopupEventFromSdl(const SDL_Event& e, const PopupWindow& popup, PopupEvent* out) {
    const uint32_t own = SDL_GetWindowID(popup.Window);
    // The canvas is shown at the main window's scale; the pop-ups count logical pixels.
    const int32_t scale = Shell.Scale > 0 ? Shell.Scale : 1;
    switch (e.type) {
    case SDL_KEYDOWN: {
        if (e.key.windowID != own) return 0;
        const uint16_t mod = e.key.keysym.mod;
        uint32_t modifiers = (mod & KMOD_SHIFT ? ModifierShift : 0) |
                             (mod & KMOD_CTRL ? ModifierControl : 0) |
                             (mod & KMOD_ALT ? ModifierAlt : 0);
        *out = KeyDownEvent(VirtualKeyFromSdl(e.key.keysym.sym, mod), modifiers);
        return out->Key != 0;
    }
    case SDL_TEXTINPUT:
        if (e.text.windowID != own) return 0;
        *out = TextEvent(e.text.text);
        return 1;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (e.button.windowID != own) return 0;
        *out = MouseEvent(e.type == SDL_MOUSEBUTTONDOWN ? PopupEventKind::MouseDown
                                                        : PopupEventKind::MouseUp,
                          e.button.x / scale, e.button.y / scale, e.button.button);
        return 1;
    case SDL_MOUSEMOTION:
        if (e.motion.windowID != own) return 0;
        *out = MouseEvent(PopupEventKind::MouseMove, e.motion.x / scale, e.motion.y / scale);
        return 1;
    case SDL_WINDOWEVENT:
        if (e.window.windowID != own || e.window.event != SDL_WINDOWEVENT_CLOSE) return 0;
        *out = CloseEvent();
        return 1;
    default: return 0;
    }
}
