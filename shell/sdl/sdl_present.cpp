// Showing the software surfaces in SDL windows. The main window is drawn through its own
// surface: the picture is scaled in with SDL's blits and only the parts a frame changed are
// scaled and sent to the display again, which at large scales is most of the work saved.
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

// The picture as last shown in the window, and how: the window's surface keeps what was
// drawn into it until the window changes size.
std::vector<uint32_t> Frame, Shown;
int32_t ShownWidth = 0, ShownHeight = 0, ShownPaused = 0;

// The "Paused" note, in the picture's own pixels; drawn once, shown over the window's copy
// only.
constexpr int32_t NoteWidth = 60, NoteHeight = 19, NoteTop = 166;
SDL_Surface* Note = nullptr;

SDL_Surface* PictureSurface(int32_t width, int32_t height) {
    return SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_RGB888);
}

} // namespace

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

void MakeNote() {
    Surface* canvas = CreateSurface(NoteWidth, NoteHeight, 32);
    Note = PictureSurface(NoteWidth, NoteHeight);
    if (canvas && Note) {
        SetTextFont(canvas, "Arial", 80);
        FillBox(canvas, 0, 0, NoteWidth, NoteHeight, Rgb(0, 0, 0));
        FrameBox(canvas, 0, 0, NoteWidth, NoteHeight, Rgb(255, 255, 255), Rgb(255, 255, 255));
        DrawTextCentred(canvas, "Paused", Rgb(0, 0, 0), Rgb(255, 255, 255), NoteWidth / 2, 3);
        ConvertToXrgb(canvas, static_cast<uint8_t*>(Note->pixels), Note->pitch);
    }
    if (canvas) DestroySurface(canvas);
}

// Black round the picture: only the borders are filled, which at large sizes is far less
// work than clearing the whole window first.
void FillBorders(SDL_Surface* out, const SDL_Rect& p) {
    SDL_Rect borders[4] = {{0, 0, out->w, p.y},
                           {0, p.y + p.h, out->w, out->h - p.y - p.h},
                           {0, p.y, p.x, p.h},
                           {p.x + p.w, p.y, out->w - p.x - p.w, p.h}};
    for (const SDL_Rect& r : borders)
        if (r.w > 0 && r.h > 0) SDL_FillRect(out, &r, SDL_MapRGB(out->format, 0, 0, 0));
}

int32_t ShowPicture(int32_t changesOnly) {
    if (!Shell.Window || !Shell.Picture || !PrimarySurface) return 0;
    // The window's own image. On a high-density output SDL makes it in window units and
    // stretches it to the output's pixels, crisply (see main); on others it is the pixels.
    SDL_Surface* out = SDL_GetWindowSurface(Shell.Window);
    if (!out) return 0;
    PictureLayout layout = LayOutPicture(out->w, out->h);
    Frame.resize(ScreenWidth * ScreenHeight);
    ConvertToXrgb(PrimarySurface, reinterpret_cast<uint8_t*>(Frame.data()), ScreenWidth * 4);
    changesOnly = changesOnly && !Shown.empty() && out->w == ShownWidth && out->h == ShownHeight &&
                  GamePaused() == ShownPaused;
    SDL_Rect areas[ChangedAreasMax];
    int32_t count = changesOnly ? FindChangedAreas(Shown.data(), Frame.data(), areas) : 0;
    if (changesOnly && count == 0) return 1; // the window already shows this picture
    for (int32_t y = 0; y < ScreenHeight; ++y)
        std::memcpy(static_cast<uint8_t*>(Shell.Picture->pixels) + y * Shell.Picture->pitch,
                    Frame.data() + y * ScreenWidth, ScreenWidth * 4);
    // SDL's scaled blit copies the nearest pixel: whole-number scales of crisp pixels.
    int32_t failed = 0;
    if (changesOnly) {
        const int32_t s = layout.Scale;
        for (int32_t i = 0; i < count; ++i) {
            SDL_Rect from = areas[i];
            areas[i] = {layout.Picture.x + from.x * s, layout.Picture.y + from.y * s, from.w * s,
                        from.h * s};
            SDL_Rect to = areas[i]; // the blit clips its own copy
            failed |= SDL_BlitScaled(Shell.Picture, &from, out, &to) != 0;
        }
        failed |= SDL_UpdateWindowSurfaceRects(Shell.Window, areas, count) != 0;
    } else {
        FillBorders(out, layout.Picture);
        SDL_Rect to = layout.Picture;
        failed = SDL_BlitScaled(Shell.Picture, nullptr, out, &to) != 0;
        if (GamePaused()) {
            if (!Note) MakeNote();
            const int32_t s = layout.Scale;
            SDL_Rect place{layout.Picture.x + (ScreenWidth - NoteWidth) / 2 * s,
                           layout.Picture.y + NoteTop * s, NoteWidth * s, NoteHeight * s};
            if (Note) SDL_BlitScaled(Note, nullptr, out, &place);
        }
        failed |= SDL_UpdateWindowSurface(Shell.Window) != 0;
    }
    if (failed) {
        Shown.clear();
        return 0;
    }
    Shown.swap(Frame); // Frame is written whole next time
    ShownWidth = out->w;
    ShownHeight = out->h;
    ShownPaused = GamePaused();
    return 1;
}

} // namespace

int32_t CreatePresenter() {
    Shell.Picture = PictureSurface(ScreenWidth, ScreenHeight);
    return Shell.Picture != nullptr && SDL_GetWindowSurface(Shell.Window) != nullptr;
}

void DestroyPresenter() {
    if (Shell.Picture) SDL_FreeSurface(Shell.Picture);
    if (Note) SDL_FreeSurface(Note);
    Shell.Picture = nullptr;
    Note = nullptr;
    Shown.clear();
}

int32_t ShowPrimarySurface() {
    return ShowPicture(0);
}

int32_t ShowNextFrame() {
    return ShowPicture(1);
}
