// The picture and the pop-ups in the page: software surfaces converted to RGBA and put into
// canvases. The page scales the picture's canvas by a whole number with crisp pixels; the
// pop-up's canvas follows the same scale.
#include <emscripten.h>

#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "shell/web/web_shell.h"

namespace {

// clang-format off
EM_JS(void, PutPixels, (const char* id, const uint8_t* rgba, int32_t w, int32_t h), {
    var canvas = document.getElementById(UTF8ToString(id));
    if (!canvas) return;
    if (canvas.width != w || canvas.height != h) {
        canvas.width = w;
        canvas.height = h;
    }
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, w * h * 4);
    canvas.getContext("2d").putImageData(new ImageData(pixels, w, h), 0, 0);
});
// clang-format on

// clang-format off
EM_JS(void, PlacePopup, (int32_t x, int32_t y, int32_t shown), {
    var popup = document.getElementById("popup");
    var screen = document.getElementById("screen");
    if (!popup || !screen) return;
    if (!shown) {
        popup.hidden = true;
        return;
    }
    var scale = screen.getBoundingClientRect().width / screen.width || 1;
    popup.style.left = (x * scale) + "px";
    popup.style.top = (y * scale) + "px";
    popup.style.width = (popup.width * scale) + "px";
    popup.style.height = (popup.height * scale) + "px";
    popup.hidden = false;
});
// clang-format on

std::vector<uint32_t> Rgba;

// Each pixel as bytes red, green, blue, alpha: one little-endian word 0xAABBGGRR.
void Convert(const Surface* surface) {
    const int32_t w = surface->Width, h = surface->Height;
    Rgba.resize(static_cast<size_t>(w) * h);
    uint32_t* out = Rgba.data();
    const bool plain32 =
        surface->BitsPerPixel == 32 && PixelToRgb(surface, 0x00123456) == Rgb(0x12, 0x34, 0x56);
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* row = surface->Pixels.data() + static_cast<size_t>(y) * surface->Pitch;
        for (int32_t x = 0; x < w; ++x) {
            uint32_t rgb;
            if (plain32) {
                const uint8_t* p = row + 4 * x; // 0x00RRGGBB in memory order B, G, R, X
                rgb = Rgb(p[2], p[1], p[0]);
            } else {
                rgb = PixelToRgb(surface, ReadPixel(surface, x, y));
            }
            *out++ = 0xFF000000u | rgb;
        }
    }
}

} // namespace

void ShowPicture() {
    if (!PrimarySurface) return;
    Convert(PrimarySurface);
    PutPixels("screen", reinterpret_cast<const uint8_t*>(Rgba.data()), PrimarySurface->Width,
              PrimarySurface->Height);
}

void ShowPopup(const Surface* surface, int32_t x, int32_t y) {
    if (!surface) return;
    Convert(surface);
    PutPixels("popup", reinterpret_cast<const uint8_t*>(Rgba.data()), surface->Width,
              surface->Height);
    PlacePopup(x, y, 1);
}

void HidePopup() {
    PlacePopup(0, 0, 0);
}
