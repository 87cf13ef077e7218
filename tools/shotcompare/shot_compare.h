// Comparing the picture of the Linux build (the simulator's screenshot) with the picture of
// the Windows build under Wine (a screenshot of its window), pixel for pixel, leaving out
// the objects that move and any areas asked for. Each side gives one or more pictures of
// the same screen taken a moment apart: a pixel that is not the same in all pictures of a
// side belongs to a moving object (a ball, an enemy, the player) and is not compared.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Rgb; // 0xRRGGBB, top row first
};

struct SkipArea {
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
};

struct CompareRules {
    std::vector<SkipArea> Skip;
    // On an 8-bit desktop the Linux pictures hold the colours of the game's palette, and the
    // Windows build shows each entry in whatever colour the desktop gives it: with Mapped set,
    // a Linux colour is looked up in Palette and the Windows pixel must be Shown[entry].
    int32_t Mapped = 0;
    uint32_t Palette[256] = {};
    uint32_t Shown[256] = {};
};

struct PixelDifference {
    int32_t X = 0, Y = 0;
    uint32_t Linux = 0, Windows = 0, Wanted = 0; // Wanted: what Windows should show there
};

struct Comparison {
    std::vector<PixelDifference> Differences;
    int32_t Compared = 0;    // pixels compared
    int32_t LitCompared = 0; // of them, pixels the Linux picture does not have black
    int32_t Moving = 0;      // pixels left out because they change between pictures
    int32_t Skipped = 0;     // pixels left out in the skipped areas
    std::string Error;       // pictures that cannot be compared at all
};

Comparison ComparePictures(const std::vector<Picture>& linuxShots,
                           const std::vector<Picture>& windowsShots, const CompareRules& rules);

// A PNG file as a picture; 0 when it cannot be read.
int32_t ReadPicture(const std::string& path, Picture* picture);

// The colours ddprobe's DirectDraw grid shows for the 256 palette entries (palette_grid.h),
// from a screenshot of its window; 0 when the picture is too small to hold the grid.
int32_t ShownColoursFromGrid(const Picture& grid, uint32_t* shown);

// The game's default palette, the 3-3-2 colour cube, as 0xRRGGBB.
void CubePalette(uint32_t* palette);

// "x,y: linux #rrggbb, windows #rrggbb (wanted #rrggbb)", one line per differing pixel.
std::string DescribeDifferences(const Comparison& comparison, int32_t mapped);
