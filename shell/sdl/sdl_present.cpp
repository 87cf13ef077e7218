// Showing the software surfaces in SDL windows.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "shell/popups/popup_paint.h"
#include "shell/sdl/sdl_desktop.h"
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

namespace {

// The picture as last presented, and how. The software renderer draws straight into the
// window's own pixels, which keep the picture between presents: then only what changed
// since is scaled again, which at large scales is most of the work saved.
std::vector<uint32_t> Frame, Shown;
int32_t ShownWidth = 0, ShownHeight = 0, ShownPaused = 0;

// The "Paused" note, in the picture's own pixels; drawn once, shown over the presented
// copy only.
constexpr int32_t NoteWidth = 60, NoteHeight = 19, NoteTop = 166;
Surface* NoteSurface = nullptr;
SDL_Texture* NoteTexture = nullptr;

SDL_Texture* PictureTexture(int32_t width, int32_t height) {
    SDL_Texture* texture = SDL_CreateTexture(Shell.Renderer, SDL_PIXELFORMAT_RGB888,
                                             SDL_TEXTUREACCESS_STREAMING, width, height);
    // Whole-number scales of crisp pixels, whatever the renderer would choose by itself.
    if (texture) SDL_SetTextureScaleMode(texture, SDL_ScaleModeNearest);
    return texture;
}

void ShowPauseNote(const PictureLayout& layout) {
    if (!NoteSurface) {
        NoteSurface = CreateSurface(NoteWidth, NoteHeight, 32);
        if (!NoteSurface) return;
        SetTextFont(NoteSurface, "Arial", 80);
        FillBox(NoteSurface, 0, 0, NoteWidth, NoteHeight, Rgb(0, 0, 0));
        FrameBox(NoteSurface, 0, 0, NoteWidth, NoteHeight, Rgb(255, 255, 255), Rgb(255, 255, 255));
        DrawTextCentred(NoteSurface, "Paused", Rgb(0, 0, 0), Rgb(255, 255, 255), NoteWidth / 2, 3);
    }
    if (!NoteTexture) {
        NoteTexture = PictureTexture(NoteWidth, NoteHeight);
        UploadSurface(NoteTexture, NoteSurface);
    }
    const int32_t s = layout.Scale;
    SDL_Rect place{layout.Picture.x + (ScreenWidth - NoteWidth) / 2 * s,
                   layout.Picture.y + NoteTop * s, NoteWidth * s, NoteHeight * s};
    SDL_RenderCopy(Shell.Renderer, NoteTexture, nullptr, &place);
}

// Black round the picture: only the borders are filled, which at large sizes is far less
// work than clearing the whole output first.
void FillBorders(const PictureLayout& layout, int32_t width, int32_t height) {
    const SDL_Rect& p = layout.Picture;
    SDL_Rect borders[4] = {{0, 0, width, p.y},
                           {0, p.y + p.h, width, height - p.y - p.h},
                           {0, p.y, p.x, p.h},
                           {p.x + p.w, p.y, width - p.x - p.w, p.h}};
    SDL_SetRenderDrawColor(Shell.Renderer, 0, 0, 0, 255);
    for (const SDL_Rect& r : borders)
        if (r.w > 0 && r.h > 0) SDL_RenderFillRect(Shell.Renderer, &r);
}

} // namespace

int32_t CreatePresenter() {
    Shell.Renderer = SDL_CreateRenderer(Shell.Window, -1, 0);
    if (!Shell.Renderer) return 0;
    Shell.Texture = PictureTexture(ScreenWidth, ScreenHeight);
    return Shell.Texture != nullptr;
}

void DestroyPresenter() {
    if (NoteTexture) SDL_DestroyTexture(NoteTexture);
    if (NoteSurface) DestroySurface(NoteSurface);
    NoteTexture = nullptr;
    NoteSurface = nullptr;
    if (Shell.Texture) SDL_DestroyTexture(Shell.Texture);
    if (Shell.Renderer) SDL_DestroyRenderer(Shell.Renderer);
    Shown.clear();
    Shell.Texture = nullptr;
    Shell.Renderer = nullptr;
}

static uint32_t ToXrgb(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// 32-bit surfaces that already hold 0x00RRGGBB are copied row by row; everything else
// goes through PixelToRgb, by table where the depth allows.
static void ConvertToXrgb(const Surface* surface, uint8_t* out, int pitch) {
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
}

void UploadSurface(SDL_Texture* texture, const Surface* surface) {
    void* pixels = nullptr;
    int pitch = 0;
    if (!texture || !surface || SDL_LockTexture(texture, nullptr, &pixels, &pitch) != 0) return;
    ConvertToXrgb(surface, static_cast<uint8_t*>(pixels), pitch);
    SDL_UnlockTexture(texture);
}

namespace {

int32_t RendererKeepsPicture() {
    SDL_RendererInfo info;
    return SDL_GetRendererInfo(Shell.Renderer, &info) == 0 &&
           std::strcmp(info.name, "software") == 0;
}

int32_t ShowPicture(int32_t changesOnly) {
    if (!Shell.Renderer || !Shell.Texture || !PrimarySurface) return 0;
    // The drawable's pixels, which on a high-density output are more than the window's units.
    int width = 0, height = 0;
    if (SDL_GetRendererOutputSize(Shell.Renderer, &width, &height) != 0) return 0;
    PictureLayout layout = LayOutPicture(width, height);
    Frame.resize(ScreenWidth * ScreenHeight);
    ConvertToXrgb(PrimarySurface, reinterpret_cast<uint8_t*>(Frame.data()), ScreenWidth * 4);
    changesOnly = changesOnly && !Shown.empty() && width == ShownWidth && height == ShownHeight &&
                  GamePaused() == ShownPaused && RendererKeepsPicture();
    SDL_Rect areas[ChangedAreasMax];
    int32_t count = changesOnly ? FindChangedAreas(Shown.data(), Frame.data(), areas) : 0;
    if (changesOnly && count == 0) return 1; // the window already shows this picture
    SDL_UpdateTexture(Shell.Texture, nullptr, Frame.data(), ScreenWidth * 4);
    int32_t failed = 0;
    if (changesOnly) {
        const int32_t s = layout.Scale;
        for (int32_t i = 0; i < count; ++i) {
            const SDL_Rect& a = areas[i];
            SDL_Rect to{layout.Picture.x + a.x * s, layout.Picture.y + a.y * s, a.w * s, a.h * s};
            failed |= SDL_RenderCopy(Shell.Renderer, Shell.Texture, &a, &to) != 0;
        }
    } else {
        FillBorders(layout, width, height);
        failed = SDL_RenderCopy(Shell.Renderer, Shell.Texture, nullptr, &layout.Picture) != 0;
        if (GamePaused()) ShowPauseNote(layout);
    }
    if (failed) {
        Shown.clear();
        return 0;
    }
    SDL_RenderPresent(Shell.Renderer);
    Shown.swap(Frame); // Frame is written whole next time
    ShownWidth = width;
    ShownHeight = height;
    ShownPaused = GamePaused();
    return 1;
}

} // namespace

int32_t ShowPrimarySurface() {
    return ShowPicture(0);
}

int32_t ShowNextFrame() {
    return ShowPicture(1);
}
