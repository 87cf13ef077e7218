// What both displays (the software pixel buffers and DirectDraw) share beneath draw.h: the
// rules that do not depend on how pixels are stored. Game logic does not include this.
#pragma once
#include <cstddef>
#include <cstdint>

struct Surface;

// The art surfaces, in the order they are loaded, with their bitmap resources.
extern int32_t TitleArtId;    // 111
extern int32_t GameOverArtId; // 113
extern int32_t LetsGoArtId;   // 119
extern int32_t OhNoArtId;     // 118
struct GameArtSprite {
    Surface** Target;
    const int32_t* Id;
    const char* Failure; // the diagnostic line when it cannot be loaded
};
constexpr int32_t GameArtCount = 4;
extern const GameArtSprite GameArt[GameArtCount];

// The order, diagnostics and failure rules of loading the art: the palette first on a
// palette-indexed display, then each sprite of GameArt by the display's own loader (1 or 0),
// stopping at the first that fails. 1 on success.
int32_t LoadArtInOrder(int32_t paletteIndexed, int32_t (*attachPalette)(),
                       int32_t (*loadSprite)(int32_t sprite));

// 256 palette entries of red, green, blue and flags bytes: the 3-3-2 colour cube.
void SetColourCube(uint8_t* entries);
// The first bytes of a palette file (at most 1078 are used) over entries that hold the
// cube: its 1024 entry bytes go in as stored, and the entries its header counts have their
// first and third bytes exchanged (blue, green, red becomes red, green, blue).
void ApplyPaletteFile(const uint8_t* file, size_t size, uint8_t* entries);
constexpr size_t PaletteFileBytes = 14 + 40 + 1024;

// The read-backs of BackBuffer from its locked pixels (first row, bytes from one row to the
// next): every cell of the grid from whether its pixel has any non-zero byte, and ColourTable
// from the first word of rows 0 to 15.
void CellsFromPixels(const uint8_t* first, ptrdiff_t pitch, int32_t width, int32_t height,
                     int32_t bitsPerPixel);
void ColoursFromPixels(const uint8_t* first, ptrdiff_t pitch);
