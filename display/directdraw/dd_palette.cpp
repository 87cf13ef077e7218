// The 256-colour palette of an 8-bit desktop: the 3-3-2 colour cube, or the colours of the
// palette file "Quorvanel.bmp", attached to the primary and re-attached whenever Windows
// hands the palette back.
#include "display/directdraw/dd_display.h"
#include "display/draw.h"
#include "game/game_record.h"
#include "shell/platform.h"

namespace {

constexpr int32_t PaletteSize = 256;

// How many colour-table entries a bitmap's information header promises, bounded by the
// palette.
uint32_t ColourCount(const BITMAPINFOHEADER& header) {
    if (header.biBitCount > 8) return 0;
    uint32_t count = header.biClrUsed ? header.biClrUsed : 1u << header.biBitCount;
    return count > PaletteSize ? PaletteSize : count;
}

// A bitmap resource of that name: its colour table, as far as the resource holds it.
int32_t ReadPaletteResource(LPCSTR name, PALETTEENTRY* entries) {
    auto instance = static_cast<HINSTANCE>(Game.AppInstance);
    HRSRC found = FindResourceA(instance, name, MAKEINTRESOURCEA(2)); // RT_BITMAP
    if (!found) return 0;
    HGLOBAL loaded = LoadResource(instance, found);
    const auto* bytes = static_cast<const BYTE*>(loaded ? LockResource(loaded) : nullptr);
    const DWORD size = SizeofResource(instance, found);
    if (!bytes || size < sizeof(BITMAPINFOHEADER)) return 1;
    BITMAPINFOHEADER header;
    CopyMemory(&header, bytes, sizeof header);
    if (header.biSize < sizeof header || header.biSize > size) return 1;
    uint32_t count = ColourCount(header);
    const uint32_t held = (size - header.biSize) / sizeof(RGBQUAD);
    if (count > held) count = held;
    const BYTE* table = bytes + header.biSize;
    for (uint32_t i = 0; i < count; ++i) {
        RGBQUAD colour;
        CopyMemory(&colour, table + i * sizeof(RGBQUAD), sizeof colour);
        entries[i].peRed = colour.rgbRed;
        entries[i].peGreen = colour.rgbGreen;
        entries[i].peBlue = colour.rgbBlue;
        entries[i].peFlags = 0;
    }
    return 1;
}

// The palette file, read with the calls of the platform's file API; its rules are the
// same for every display.
void ReadPaletteFile(LPCSTR name, PALETTEENTRY* entries) {
    HFILE file = _lopen(name, OF_READ);
    if (file == HFILE_ERROR) return;
    BYTE bytes[PaletteFileBytes];
    UINT got = 0, read = 0;
    // _lread reports a failure as HFILE_ERROR, all bits set.
    while (got < sizeof bytes && (read = _lread(file, bytes + got, sizeof bytes - got)) > 0 &&
           read != static_cast<UINT>(HFILE_ERROR))
        got += read;
    _lclose(file);
    ApplyPaletteFile(bytes, got, reinterpret_cast<uint8_t*>(entries));
}

void ReloadArt() {
    RestoreArtSprite(&TitleArt, TitleArtId);
    RestoreArtSprite(&GameOverArt, GameOverArtId);
    RestoreArtSprite(&LetsGoArt, LetsGoArtId);
    RestoreArtSprite(&OhNoArt, OhNoArtId);
}

} // namespace

IDirectDrawPalette* LoadBitmapPalette(IDirectDraw* object, LPCSTR name) {
    PALETTEENTRY entries[PaletteSize];
    static_assert(sizeof entries == 1024, "entries are red, green, blue and flags bytes");
    SetColourCube(reinterpret_cast<uint8_t*>(entries));
    if (name && !ReadPaletteResource(name, entries)) ReadPaletteFile(name, entries);
    IDirectDrawPalette* palette = nullptr;
    if (object->CreatePalette(DDPCAPS_8BIT, entries, &palette, nullptr) != DD_OK) return nullptr;
    return palette;
}

int32_t AttachPalette(IDirectDraw* object, IDirectDrawPalette** palette, Surface* primary) {
    *palette = LoadBitmapPalette(object, "Quorvanel.bmp");
    if (!*palette) {
        DebugOutput("Couldn't create palette.\n");
        return 0;
    }
    if (primary->Dds->SetPalette(*palette) == DD_OK) {
        // The primary keeps it alive; the pointer stays for re-attaching.
        (*palette)->Release();
        return 1;
    }
    DebugOutput("Couldn't attach palette.\n");
    (*palette)->Release();
    *palette = nullptr;
    return 0;
}

int32_t ReassertPalette(UINT message, HWND sender) {
    if (message == WM_QUERYNEWPALETTE) {
        if (!PrimarySurface || !Palette) {
            DebugOutput("Ignoring palette message.\n");
            return 1;
        }
        DebugOutput("We have the palette.\n");
        PrimarySurface->Dds->SetPalette(Palette);
        ReloadArt();
        return 0;
    }
    if (message == WM_PALETTECHANGED) {
        // Our own change of the system palette needs nothing.
        if (sender == static_cast<HWND>(Game.MainWindow)) return 0;
        DebugOutput("Palette lost.\n");
        if (PrimarySurface && Palette) {
            PrimarySurface->Dds->SetPalette(Palette);
            ReloadArt();
        }
    }
    return 0;
}
