#include "tools/shotcompare/shot_compare.h"

#include <cstdio>

#include "display/backend.h"
#include "tools/ddprobe/palette_grid.h"
#include "tools/resgen/dib_encode.h"

namespace {

// 1 when every picture of the side has the same colour at the pixel.
int32_t Still(const std::vector<Picture>& shots, size_t at) {
    for (const Picture& shot : shots)
        if (shot.Rgb[at] != shots[0].Rgb[at]) return 0;
    return 1;
}

int32_t InSkippedArea(const CompareRules& rules, int32_t x, int32_t y) {
    for (const SkipArea& a : rules.Skip)
        if (x >= a.X && x < a.X + a.Width && y >= a.Y && y < a.Y + a.Height) return 1;
    return 0;
}

std::string Hex(uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", rgb & 0xFFFFFFu);
    return text;
}

} // namespace

Comparison ComparePictures(const std::vector<Picture>& linuxShots,
                           const std::vector<Picture>& windowsShots, const CompareRules& rules) {
    Comparison result;
    if (linuxShots.empty() || windowsShots.empty()) {
        result.Error = "no pictures to compare";
        return result;
    }
    const int32_t width = linuxShots[0].Width, height = linuxShots[0].Height;
    for (const auto* side : {&linuxShots, &windowsShots})
        for (const Picture& shot : *side)
            if (shot.Width != width || shot.Height != height ||
                shot.Rgb.size() != static_cast<size_t>(width) * height) {
                result.Error = "pictures of different sizes: " + std::to_string(width) + "x" +
                               std::to_string(height) + " and " + std::to_string(shot.Width) + "x" +
                               std::to_string(shot.Height);
                return result;
            }
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = static_cast<size_t>(y) * width + x;
            if (InSkippedArea(rules, x, y)) {
                ++result.Skipped;
                continue;
            }
            if (!Still(linuxShots, at) || !Still(windowsShots, at)) {
                ++result.Moving;
                continue;
            }
            const uint32_t onLinux = linuxShots[0].Rgb[at], onWindows = windowsShots[0].Rgb[at];
            uint32_t wanted = onLinux;
            if (rules.Mapped) {
                int32_t entry = 0;
                while (entry < 256 && rules.Palette[entry] != onLinux) ++entry;
                if (entry == 256) {
                    result.Error = "the Linux picture's colour " + Hex(onLinux) + " at " +
                                   std::to_string(x) + "," + std::to_string(y) +
                                   " is not in the palette";
                    return result;
                }
                wanted = rules.Shown[entry];
            }
            ++result.Compared;
            if (onLinux != 0) ++result.LitCompared;
            if (onWindows != wanted)
                result.Differences.push_back({x, y, onLinux, onWindows, wanted});
        }
    return result;
}

int32_t ReadPicture(const std::string& path, Picture* picture) {
    std::vector<uint8_t> rgba;
    int32_t width = 0, height = 0;
    if (!ReadPngRgba(path, &width, &height, &rgba)) return 0;
    picture->Width = width;
    picture->Height = height;
    picture->Rgb.resize(static_cast<size_t>(width) * height);
    for (size_t i = 0; i < picture->Rgb.size(); ++i)
        picture->Rgb[i] = static_cast<uint32_t>(rgba[4 * i]) << 16 |
                          static_cast<uint32_t>(rgba[4 * i + 1]) << 8 | rgba[4 * i + 2];
    return 1;
}

int32_t ShownColoursFromGrid(const Picture& grid, uint32_t* shown) {
    if (grid.Width < PaletteGridSize || grid.Height < PaletteGridSize) return 0;
    for (int32_t entry = 0; entry < 256; ++entry) {
        const int32_t x = (entry % PaletteGridColumns) * PaletteGridCell + PaletteGridCell / 2;
        const int32_t y = (entry / PaletteGridColumns) * PaletteGridCell + PaletteGridCell / 2;
        shown[entry] = grid.Rgb[static_cast<size_t>(y) * grid.Width + x];
    }
    return 1;
}

void CubePalette(uint32_t* palette) {
    uint8_t entries[1024];
    SetColourCube(entries);
    for (int32_t i = 0; i < 256; ++i)
        palette[i] = static_cast<uint32_t>(entries[4 * i]) << 16 |
                     static_cast<uint32_t>(entries[4 * i + 1]) << 8 | entries[4 * i + 2];
}

std::string DescribeDifferences(const Comparison& comparison, int32_t mapped) {
    std::string text;
    for (const PixelDifference& d : comparison.Differences) {
        text += std::to_string(d.X) + "," + std::to_string(d.Y) + ": linux " + Hex(d.Linux) +
                ", windows " + Hex(d.Windows);
        if (mapped) text += " (wanted " + Hex(d.Wanted) + ")";
        text += "\n";
    }
    return text;
}
