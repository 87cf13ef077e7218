// Pixel-buffer surfaces in the display's format, the display's three surfaces and the
// conversions between RGB colours and raw pixel values.
#include <cstring>

#include "display/backend.h"
#include "display/draw.h"
#include "display/software/surface.h"

PaletteEntry DisplayPalette[256];

namespace {

// The palette must hold the colour cube before anything maps a colour, even when no
// display has been created yet.
[[maybe_unused]] const int32_t PaletteReady = (SetDefaultPalette(DisplayPalette), 1);

int32_t SupportedDepth(int32_t bitsPerPixel) {
    return bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
}

void Release(Surface*& surface) {
    DestroySurface(surface);
    surface = nullptr;
}

uint32_t NearestPaletteEntry(uint32_t r, uint32_t g, uint32_t b) {
    uint32_t best = 0;
    int32_t bestDistance = 0x7FFFFFFF;
    for (uint32_t i = 0; i < 256; ++i) {
        int32_t dr = static_cast<int32_t>(DisplayPalette[i].Red) - static_cast<int32_t>(r);
        int32_t dg = static_cast<int32_t>(DisplayPalette[i].Green) - static_cast<int32_t>(g);
        int32_t db = static_cast<int32_t>(DisplayPalette[i].Blue) - static_cast<int32_t>(b);
        int32_t distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace

void SetDefaultPalette(PaletteEntry* palette) {
    static_assert(sizeof(PaletteEntry) == 4, "entries are red, green, blue and flags bytes");
    SetColourCube(reinterpret_cast<uint8_t*>(palette));
}

Surface* CreateSurface(int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (!SupportedDepth(bitsPerPixel) || width <= 0 || height <= 0) return nullptr;
    auto* surface = new Surface;
    surface->Width = width;
    surface->Height = height;
    surface->BitsPerPixel = bitsPerPixel;
    // Rows start on 4-byte boundaries, as a display driver lays them out.
    surface->Pitch = (width * (bitsPerPixel / 8) + 3) & ~3;
    surface->Pixels.assign(static_cast<size_t>(surface->Pitch) * height, 0);
    return surface;
}

void DestroySurface(Surface* surface) {
    delete surface;
}

int32_t CreateSoftwareDisplay(int32_t bitsPerPixel) {
    if (!SupportedDepth(bitsPerPixel)) return 0;
    ReleaseSoftwareDisplay();
    // A new display has no palette attached until the art loader gives it one.
    SetDefaultPalette(DisplayPalette);
    PrimarySurface = CreateSurface(ScreenWidth, ScreenHeight, bitsPerPixel);
    BackBuffer = CreateSurface(ScreenWidth, ScreenHeight, bitsPerPixel);
    BackBuffer2 = CreateSurface(ScreenWidth, ScreenHeight, bitsPerPixel);
    return 1;
}

void ReleaseSoftwareDisplay() {
    // The same order in which the display lets go of its surfaces.
    Release(BackBuffer);
    Release(PrimarySurface);
    Release(TitleSurface);
    Release(GameOverSurface);
    Release(BackBuffer2);
    Release(OhNoSurface);
    Release(LetsGoSurface);
}

uint32_t ReadPixel(const Surface* surface, int32_t x, int32_t y) {
    if (!surface || x < 0 || y < 0 || x >= surface->Width || y >= surface->Height) return 0;
    const uint8_t* p = surface->Pixels.data() + static_cast<size_t>(y) * surface->Pitch;
    switch (surface->BitsPerPixel) {
    case 8: return p[x];
    case 16: return p[2 * x] | (p[2 * x + 1] << 8);
    case 24: return p[3 * x] | (p[3 * x + 1] << 8) | (p[3 * x + 2] << 16);
    case 32: {
        uint32_t value;
        std::memcpy(&value, p + 4 * x, 4);
        return value;
    }
    default: return 0;
    }
}

void WritePixel(Surface* surface, int32_t x, int32_t y, uint32_t value) {
    if (!surface || x < 0 || y < 0 || x >= surface->Width || y >= surface->Height) return;
    uint8_t* p = surface->Pixels.data() + static_cast<size_t>(y) * surface->Pitch;
    switch (surface->BitsPerPixel) {
    case 8: p[x] = static_cast<uint8_t>(value); break;
    case 16:
        p[2 * x] = static_cast<uint8_t>(value);
        p[2 * x + 1] = static_cast<uint8_t>(value >> 8);
        break;
    case 24:
        p[3 * x] = static_cast<uint8_t>(value);
        p[3 * x + 1] = static_cast<uint8_t>(value >> 8);
        p[3 * x + 2] = static_cast<uint8_t>(value >> 16);
        break;
    case 32: std::memcpy(p + 4 * x, &value, 4); break;
    default: break;
    }
}

uint32_t MapRgbToPixel(const Surface* surface, uint32_t rgb) {
    uint32_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
    int32_t depth = surface ? surface->BitsPerPixel : 32;
    switch (depth) {
    case 8: return NearestPaletteEntry(r, g, b);
    case 16: return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
    default: return (r << 16) | (g << 8) | b;
    }
}

uint32_t PixelToRgb(const Surface* surface, uint32_t pixel) {
    int32_t depth = surface ? surface->BitsPerPixel : 32;
    switch (depth) {
    case 8: {
        const PaletteEntry& e = DisplayPalette[pixel & 0xFF];
        return Rgb(e.Red, e.Green, e.Blue);
    }
    case 16: {
        // Each field's top bits are repeated below it, so full intensity stays 255.
        uint32_t r = (pixel >> 11) & 31, g = (pixel >> 5) & 63, b = pixel & 31;
        return Rgb((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2));
    }
    default: return Rgb((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
}
