// Loading the art: each bitmap is decoded, put on a surface of the display's depth with its
// colours converted (nearest palette entry on an 8-bit display, so the palette comes first),
// and keyed on raw 0. The lines written are the ones the Windows build writes.
#include "display/software/art.h"

#include <cstdio>
#include <utility>
#include <vector>

#include "display/backend.h"
#include "display/draw.h"
#include "display/software/result_codes.h"
#include "resources/resources.h"
#include "shell/platform.h"
#include "shell/regular_file.h"

ArtHolder TitleArt, GameOverArt, OhNoArt, LetsGoArt;
std::string ArtFileDirectory;

static_assert(sizeof(PaletteEntry) == 4, "palette entries are read straight from the file");

namespace {

std::string InArtDirectory(const std::string& name) {
    if (ArtFileDirectory.empty()) return name;
    return ArtFileDirectory + "/" + name;
}

// A file in place of a resource, read only when it is a regular file (a FIFO or a device
// would hang the start); one that is there but cannot be used is said. 1 when read.
int32_t ReadArtFile(const std::string& path, std::vector<uint8_t>* bytes, size_t limit,
                    int32_t prefixOnly, const char* operation, const char* consequence) {
    std::string content, problem;
    int32_t read = ReadRegularFile(path, limit, prefixOnly, &content, &problem);
    if (read == FileUnusable)
        DebugOutput(
            (std::string(operation) + ": " + path + " " + problem + "; " + consequence + ".\n")
                .c_str());
    if (read != FileRead) return 0;
    bytes->assign(content.begin(), content.end());
    return 1;
}

Surface* SurfaceForBitmap(const DecodedBitmap& bitmap, int32_t width, int32_t height,
                          int32_t bitsPerPixel) {
    Surface* surface =
        CreateSurface(width ? width : bitmap.Width, height ? height : bitmap.Height, bitsPerPixel);
    if (!surface) return nullptr;
    CopyBitmapToSurface(surface, &bitmap, 0, 0, 0, 0);
    return surface;
}

} // namespace

int32_t LoadBitmapById(int32_t id, DecodedBitmap* out) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (FindBitmapResource(id, &data, &size) && DecodeDib(data, size, out, nullptr)) return 1;
    // As the platform would, fall back to a file of that name. Bitmaps are small; anything
    // beyond 64 MB is not one.
    std::vector<uint8_t> file;
    if (!ReadArtFile(InArtDirectory(std::to_string(id) + ".bmp"), &file, 64u << 20, 0,
                     "LoadBitmapSurface", "not loaded"))
        return 0;
    return DecodeBmpFile(file.data(), file.size(), out, nullptr);
}

int32_t CopyBitmapToSurface(Surface* surface, const DecodedBitmap* bitmap, int32_t x, int32_t y,
                            int32_t width, int32_t height) {
    if (!surface || !bitmap || bitmap->Indices.empty()) return ArtFailed;
    if (!width) width = bitmap->Width - x;
    if (!height) height = bitmap->Height - y;
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > bitmap->Width ||
        y + height > bitmap->Height)
        return ArtFailed;
    // One conversion per colour-table entry, not per pixel.
    std::vector<uint32_t> raw(bitmap->Colours.size());
    for (size_t i = 0; i < raw.size(); ++i) raw[i] = MapRgbToPixel(surface, bitmap->Colours[i]);
    // The source rectangle is stretched over the whole surface (1:1 when the sizes agree).
    for (int32_t row = 0; row < surface->Height; ++row) {
        int32_t sy = y + static_cast<int32_t>(static_cast<int64_t>(row) * height / surface->Height);
        const uint8_t* in = bitmap->Indices.data() + static_cast<size_t>(sy) * bitmap->Width;
        for (int32_t column = 0; column < surface->Width; ++column) {
            int32_t sx =
                x + static_cast<int32_t>(static_cast<int64_t>(column) * width / surface->Width);
            WritePixel(surface, column, row, raw[in[sx]]);
        }
    }
    return SurfaceOk;
}

Surface* LoadBitmapSurface(int32_t id, int32_t width, int32_t height) {
    if (!PrimarySurface) return nullptr;
    DecodedBitmap bitmap;
    if (!LoadBitmapById(id, &bitmap)) return nullptr;
    return SurfaceForBitmap(bitmap, width, height, PrimarySurface->BitsPerPixel);
}

int32_t ReloadBitmapSurface(Surface* surface, int32_t id) {
    DecodedBitmap bitmap;
    if (!LoadBitmapById(id, &bitmap)) return ArtFailed;
    return CopyBitmapToSurface(surface, &bitmap, 0, 0, 0, 0);
}

Surface* DecodeBitmapToSurface(const uint8_t* dib, uint32_t size, int32_t bitsPerPixel) {
    DecodedBitmap bitmap;
    if (!DecodeDib(dib, size, &bitmap, nullptr)) return nullptr;
    return SurfaceForBitmap(bitmap, 0, 0, bitsPerPixel);
}

int32_t LoadArtSprite(ArtHolder* holder, Surface** surface, int32_t id, int32_t useColourKey) {
    // A surface left from an earlier load would otherwise be lost.
    DestroySurface(*surface);
    *surface = LoadBitmapSurface(id, 0, 0);
    if (!*surface) {
        DebugOutput("Couldn't create art surface.\n");
        return 0;
    }
    if (useColourKey) (*surface)->HasColourKey = 1; // the key is raw 0
    holder->Sprite = surface;
    holder->Id = id;
    return 1;
}

int32_t RestoreArtSprite(ArtHolder* holder, int32_t id) {
    // Software surfaces keep their memory; only a missing one cannot be restored.
    if (!holder || !holder->Sprite || !*holder->Sprite) return SurfaceMissing;
    return ReloadBitmapSurface(*holder->Sprite, id) == SurfaceOk ? 1 : 0;
}

void LoadBitmapPalette(PaletteEntry* palette, const char* path) {
    SetDefaultPalette(palette);
    std::vector<uint8_t> bytes;
    if (path && ReadArtFile(path, &bytes, PaletteFileBytes, 1, "LoadBitmapPalette",
                            "the colour cube is used"))
        ApplyPaletteFile(bytes.data(), bytes.size(), reinterpret_cast<uint8_t*>(palette));
}

int32_t AttachPalette() {
    PaletteEntry palette[256];
    LoadBitmapPalette(palette, InArtDirectory("Quorvanel.bmp").c_str());
    for (int32_t i = 0; i < 256; ++i) DisplayPalette[i] = palette[i];
    return 1;
}

int32_t LoadGameArt() {
    if (!PrimarySurface) return 0;
    static ArtHolder* const holders[GameArtCount] = {&TitleArt, &GameOverArt, &OhNoArt, &LetsGoArt};
    return LoadArtInOrder(PrimarySurface->BitsPerPixel == 8, AttachPalette, [](int32_t i) {
        return LoadArtSprite(holders[i], GameArt[i].Target, *GameArt[i].Id, 1);
    });
}
