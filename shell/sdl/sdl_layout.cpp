// The geometry of the picture: whole-number scales, its place in a window, and which parts
// of it changed between two frames. Free of any window, so that tests reach it directly.
#include <algorithm>
#include <cstring>

#include "display/draw.h"
#include "shell/sdl/sdl_desktop.h"

namespace {

// What a window manager's frame usually adds round the client area; the window has none
// of its own until it is shown, so the first size is chosen with this allowance.
constexpr int32_t FrameAllowanceWidth = 16;
constexpr int32_t FrameAllowanceHeight = 48;

// The largest whole-number scale at which the picture fits, 0 when not even 1 does.
int32_t FitScale(int32_t width, int32_t height) {
    if (width < ScreenWidth || height < ScreenHeight) return 0;
    return std::min(width / ScreenWidth, height / ScreenHeight);
}

} // namespace

PictureLayout LayOutPicture(int32_t width, int32_t height) {
    PictureLayout layout;
    layout.Scale = std::max(1, FitScale(width, height));
    int32_t w = ScreenWidth * layout.Scale, h = ScreenHeight * layout.Scale;
    layout.Picture = {(width - w) / 2, (height - h) / 2, w, h};
    return layout;
}

int32_t LargestWindowScale(int32_t usableWidth, int32_t usableHeight) {
    int32_t scale =
        FitScale(usableWidth - FrameAllowanceWidth, usableHeight - FrameAllowanceHeight);
    return std::clamp(scale, 1, MaxWindowScale);
}

int32_t DefaultWindowScale(int32_t usableWidth, int32_t usableHeight, int32_t dpiScale) {
    int32_t fits = FitScale(usableWidth * 8 / 10 - FrameAllowanceWidth,
                            usableHeight * 8 / 10 - FrameAllowanceHeight);
    return std::clamp(std::max(fits, dpiScale), 1, LargestWindowScale(usableWidth, usableHeight));
}

int32_t FindChangedAreas(const uint32_t* shown, const uint32_t* frame, SDL_Rect* areas) {
    constexpr int32_t Tiles = ScreenWidth / ChangeTileColumns;
    int32_t count = 0;
    for (int32_t top = 0; top < ScreenHeight; top += ChangeBandRows) {
        // Which tiles of the band changed, and the band's first and last changed rows.
        uint8_t changed[Tiles] = {};
        int32_t first = -1, last = -1;
        for (int32_t y = top; y < top + ChangeBandRows && y < ScreenHeight; ++y) {
            const uint32_t* a = shown + y * ScreenWidth;
            const uint32_t* b = frame + y * ScreenWidth;
            if (std::memcmp(a, b, ScreenWidth * 4) == 0) continue;
            for (int32_t t = 0; t < Tiles; ++t) {
                int32_t x = t * ChangeTileColumns;
                if (!changed[t] && std::memcmp(a + x, b + x, ChangeTileColumns * 4) != 0)
                    changed[t] = 1;
            }
            if (first < 0) first = y;
            last = y;
        }
        // One rectangle per run of changed tiles.
        for (int32_t t = 0; t < Tiles;) {
            if (!changed[t]) {
                ++t;
                continue;
            }
            int32_t run = t;
            while (run < Tiles && changed[run]) ++run;
            areas[count++] = {t * ChangeTileColumns, first, (run - t) * ChangeTileColumns,
                              last - first + 1};
            t = run;
        }
    }
    return count;
}
