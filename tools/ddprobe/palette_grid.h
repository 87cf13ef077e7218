// Where ddprobe shows the 256 entries of the game's palette through DirectDraw: 16 rows of 16
// cells, entry 16 * row + column in each, from the top-left corner of its client area. Tests
// take a screenshot of it to learn which colour the display shows for each entry.
#pragma once
#include <cstdint>

constexpr int32_t PaletteGridCell = 8;         // pixels a side
constexpr int32_t PaletteGridColumns = 16;     // cells a row
constexpr int32_t PaletteGridSize = 16 * 8;    // pixels a side, the whole grid
constexpr int32_t PaletteGridSecondLeft = 200; // the same grid drawn by GDI alone, from here
