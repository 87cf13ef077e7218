// Showing the software surfaces in SDL windows.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "display/draw.h"
#include "display/software/surface.h"
#include "shell/sdl/sdl_shell.h"

int32_t DesktopDepth() {
    // A test hook: run the game in another depth than the desktop's.
    if (const char* forced = std::getenv("QUORVANEL_DEPTH")) {
        int32_t depth = std::atoi(forced);
        if (depth == 8 || depth == 16 || depth == 24 || depth == 32) return depth;
    }
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return 32;
    // X11 reports its 24-bit visual as 24 bits in 4 bytes; what the game sees is the
    // storage size, as Windows reports such a desktop as 32 bits.
    switch (SDL_BYTESPERPIXEL(mode.format)) {
    case 1: return 8;
    case 2: return 16;
    case 3: return 24;
    default: return 32;
    }
}

int32_t ChooseWindowScale() {
    float dpi = 0;
    // Xvfb and some drivers report no DPI: treat that as 96.
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0 || dpi <= 0) return 1;
    auto scale = static_cast<int32_t>(std::lround(dpi / 96.0f));
    return scale < 1 ? 1 : scale;
}

int32_t CreatePresenter() {
    Shell.Renderer = SDL_CreateRenderer(Shell.Window, -1, 0);
    if (!Shell.Renderer) return 0;
    Shell.Texture = SDL_CreateTexture(Shell.Renderer, SDL_PIXELFORMAT_RGB888,
                                      SDL_TEXTUREACCESS_STREAMING, ScreenWidth, ScreenHeight);
    return Shell.Texture != nullptr;
}

void DestroyPresenter() {
    if (Shell.Texture) SDL_DestroyTexture(Shell.Texture);
    if (Shell.Renderer) SDL_DestroyRenderer(Shell.Renderer);
    Shell.Texture = nullptr;
    Shell.Renderer = nullptr;
}

static uint32_t ToXrgb(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// 32-bit surfaces that already hold 0x00RRGGBB are copied row by row; everything else
// goes through PixelToRgb, by table where the depth allows.
void UploadSurface(SDL_Texture* texture, const Surface* surface) {
    void* pixels = nullptr;
    int pitch = 0;
    if (!texture || !surface || SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return;
    auto* out = static_cast<uint8_t*>(pixels);
    const int32_t w = surface->Width, h = surface->Height;
    if (surface->BitsPerPixel == 32 && PixelToRgb(surface, 0x00123456) == Rgb(0x12, 0x34, 0x56)) {
        for (int32_t y = 0; y < h; ++y)
            std::memcpy(out + y * pitch, surface->Pixels.data() + y * surface->Pitch, w * 4);
    } else if (surface->BitsPerPixel == 8 || surface->BitsPerPixel == 16) {
        // 8-bit: the palette may have changed since the last frame, so the table is rebuilt.
        static uint32_t table[65536];
        static int32_t tableDepth = 0;
        int32_t entries = surface->BitsPerPixel == 8 ? 256 : 65536;
        if (surface->BitsPerPixel == 8 || tableDepth != 16)
            for (int32_t i = 0; i < entries; ++i)
                table[i] = ToXrgb(PixelToRgb(surface, static_cast<uint32_t>(i)));
        tableDepth = surface->BitsPerPixel;
        for (int32_t y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(out + y * pitch);
            const uint8_t* in = surface->Pixels.data() + y * surface->Pitch;
            if (entries == 256)
                for (int32_t x = 0; x < w; ++x) row[x] = table[in[x]];
            else
                for (int32_t x = 0; x < w; ++x) row[x] = table[in[2 * x] | (in[2 * x + 1] << 8)];
        }
    } else {
        for (int32_t y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(out + y * pitch);
            for (int32_t x = 0; x < w; ++x)
                row[x] = ToXrgb(PixelToRgb(surface, ReadPixel(surface, x, y)));
        }
    }
    SDL_UnlockTexture(texture);
}

int32_t ShowPrimarySurface() {
    if (!Shell.Renderer || !Shell.Texture || !PrimarySurface) return 0;
    UploadSurface(Shell.Texture, PrimarySurface);
    if (SDL_RenderCopy(Shell.Renderer, Shell.Texture, nullptr, nullptr) != 0) return 0;
    SDL_RenderPresent(Shell.Renderer);
    return 1;
}
