// Pixel-buffer surfaces of the software display, in the display's format.
#pragma once
#include <cstdint>
#include <vector>

struct Surface {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t BitsPerPixel = 32; // 8 (palettised), 16 (5-6-5), 24 or 32
    int32_t Pitch = 0;         // bytes from one row to the next
    std::vector<uint8_t> Pixels;
    int32_t HasColourKey = 0; // source colour key, raw value 0
};

struct PaletteEntry {
    uint8_t Red, Green, Blue, Flags;
};

// The 8-bit display's palette; the 3-3-2 colour cube until a palette is attached.
extern PaletteEntry DisplayPalette[256];
void SetDefaultPalette(PaletteEntry* palette);

// Creates PrimarySurface, BackBuffer and BackBuffer2 (400x300) at the given depth, plus
// the art surfaces; returns 1, or 0 for an unsupported depth.
int32_t CreateSoftwareDisplay(int32_t bitsPerPixel);
void ReleaseSoftwareDisplay();

// 1 when nothing of the display is shown (a timed playback): PresentFrame then leaves the
// primary surface alone. Nothing the game decides depends on that surface.
extern int32_t SoftwareDisplayUnseen;
Surface* CreateSurface(int32_t width, int32_t height, int32_t bitsPerPixel);
void DestroySurface(Surface* surface);

uint32_t ReadPixel(const Surface* surface, int32_t x, int32_t y);
void WritePixel(Surface* surface, int32_t x, int32_t y, uint32_t value);

// RGB (0x00BBGGRR) to the surface's raw pixel value (nearest palette entry at 8 bits), and a
// raw value back to RGB for screenshots.
uint32_t MapRgbToPixel(const Surface* surface, uint32_t rgb);
uint32_t PixelToRgb(const Surface* surface, uint32_t pixel);
