// The game's art as surfaces of the display's format, and the 8-bit display's palette.
// Bitmaps come from the program's embedded resources, or failing that from a file.
#pragma once
#include <cstdint>
#include <string>

#include "display/backend.h"
#include "display/software/bmp.h"
#include "display/software/surface.h"

// Remembers which surface global holds an art surface and the bitmap it was loaded from, so
// it can be reloaded; it follows the global, so a released display leaves nothing dangling.
struct ArtHolder {
    Surface** Sprite = nullptr;
    int32_t Id = 0;
};
extern ArtHolder TitleArt, GameOverArt, OhNoArt, LetsGoArt;

// Where bitmap and palette files are looked for; empty means the current directory.
extern std::string ArtFileDirectory;

// What a missing bitmap or surface reports.
constexpr int32_t ArtFailed = static_cast<int32_t>(0x80004005u); // E_FAIL

// The palette (on an 8-bit primary) and the four art surfaces; 1 on success, else 0.
int32_t LoadGameArt();
// Loads one art surface into *surface and the holder; with useColourKey, raw 0 is transparent.
int32_t LoadArtSprite(ArtHolder* holder, Surface** surface, int32_t id, int32_t useColourKey);
// The holder's surface filled again from its bitmap: 1 if copied, 0 if the bitmap is missing,
// SurfaceMissing if there is no surface.
int32_t RestoreArtSprite(ArtHolder* holder, int32_t id);

// The bitmap of a resource id: the embedded DIB, else the file "<id>.bmp". 1 or 0.
int32_t LoadBitmapById(int32_t id, DecodedBitmap* out);
// A new surface at the primary's depth holding the bitmap; width and height 0 keep the
// bitmap's own size, others scale it.
Surface* LoadBitmapSurface(int32_t id, int32_t width, int32_t height);
int32_t ReloadBitmapSurface(Surface* surface, int32_t id);
// Copies the bitmap's rectangle (x, y, width, height; 0 = to the bitmap's edge) onto the
// whole surface, converting colours to its format. SurfaceOk, or ArtFailed.
int32_t CopyBitmapToSurface(Surface* surface, const DecodedBitmap* bitmap, int32_t x, int32_t y,
                            int32_t width, int32_t height);

// Fills 256 entries: the 3-3-2 cube, then the palette file at path if it can be read.
void LoadBitmapPalette(PaletteEntry* palette, const char* path);
// Loads "Quorvanel.bmp" from ArtFileDirectory into DisplayPalette. 1 on success.
int32_t AttachPalette();
