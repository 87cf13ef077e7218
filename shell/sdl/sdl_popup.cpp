// Windows of their own for the dialogs and the context menu, drawn on software surfaces.
#include "display/draw.h"
#include "display/software/surface.h"
#include "shell/sdl/sdl_shell.h"

void FillBox(Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rgb) {
    uint32_t pixel = MapRgbToPixel(surface, rgb);
    int32_t right = x + w < surface->Width ? x + w : surface->Width;
    int32_t bottom = y + h < surface->Height ? y + h : surface->Height;
    for (int32_t row = y < 0 ? 0 : y; row < bottom; ++row)
        for (int32_t col = x < 0 ? 0 : x; col < right; ++col) WritePixel(surface, col, row, pixel);
}

void FrameBox(Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t topLeft,
              uint32_t bottomRight) {
    FillBox(surface, x, y, w, 1, topLeft);
    FillBox(surface, x, y, 1, h, topLeft);
    FillBox(surface, x, y + h - 1, w, 1, bottomRight);
    FillBox(surface, x + w - 1, y, 1, h, bottomRight);
}

int32_t OpenPopupWindow(PopupWindow* popup, const char* title, int32_t x, int32_t y, int32_t w,
                        int32_t h, uint32_t flags) {
    popup->Window =
        SDL_CreateWindow(title, x, y, w * Shell.Scale, h * Shell.Scale, flags | SDL_WINDOW_HIDDEN);
    if (!popup->Window) return 0;
    popup->Renderer = SDL_CreateRenderer(popup->Window, -1, 0);
    if (popup->Renderer)
        popup->Texture = SDL_CreateTexture(popup->Renderer, SDL_PIXELFORMAT_RGB888,
                                           SDL_TEXTUREACCESS_STREAMING, w, h);
    popup->Canvas = CreateSurface(w, h, 32);
    if (!popup->Texture || !popup->Canvas) {
        ClosePopupWindow(popup);
        return 0;
    }
    SetTextFont(popup->Canvas, "Arial", 80);
    return 1;
}

void ShowPopupCanvas(PopupWindow* popup) {
    UploadSurface(popup->Texture, popup->Canvas);
    SDL_RenderCopy(popup->Renderer, popup->Texture, nullptr, nullptr);
    SDL_RenderPresent(popup->Renderer);
}

void ClosePopupWindow(PopupWindow* popup) {
    if (popup->Canvas) DestroySurface(popup->Canvas);
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
