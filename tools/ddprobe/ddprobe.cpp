// ddprobe: what a windowed DirectDraw program gets on the desktop it runs on, told the way the
// game sets itself up (normal co-operation, a primary with a clipper, 400x300 off-screen
// surfaces, on an 8-bit desktop the game's 256-entry palette attached to the primary):
//   - the desktop's depth and palette capabilities, and the primary's pixel format;
//   - whether the palette object keeps the entries it was given, with DDPCAPS_8BIT alone and
//     with DDPCAPS_ALLOW256, and whether attaching it changes the system palette;
//   - the colour table of an off-screen surface's device context and the entries GDI paints
//     there for the game's colours, before and after the palette is attached;
//   - the colours the window holds for the 256 entries, presented by a DirectDraw blit as the
//     game presents its frames, and drawn by GDI through a realised logical palette.
// It shows both grids in its window (palette_grid.h) and keeps it open for --hold seconds, so
// that a screenshot can be taken. Diagnostics only; it changes nothing it did not create.
// Usage: ddprobe.exe [--hold SECONDS]
#include <windows.h>

#include <ddraw.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

#include "display/backend.h"
#include "tools/ddprobe/palette_grid.h"

namespace {

PALETTEENTRY Palette[256]; // the game's default palette, the 3-3-2 colour cube
HWND Window = nullptr;

// Colours the game draws with GDI, and what they are.
struct NamedColour {
    const char* Name;
    COLORREF Colour;
};
constexpr NamedColour GameColours[] = {
    {"frame blue", RGB(0, 0, 255)},       {"table names", RGB(0, 155, 255)},
    {"table scores", RGB(200, 100, 100)}, {"status line", RGB(128, 200, 255)},
    {"prompt", RGB(196, 127, 255)},       {"version", RGB(127, 127, 127)},
    {"orange", RGB(255, 201, 15)},        {"white", RGB(255, 255, 255)},
};
constexpr int32_t GameColourCount = sizeof GameColours / sizeof GameColours[0];

int32_t NearestEntry(COLORREF colour) {
    int32_t best = 0, bestDistance = 1 << 30;
    for (int32_t i = 0; i < 256; ++i) {
        const int32_t dr = Palette[i].peRed - GetRValue(colour);
        const int32_t dg = Palette[i].peGreen - GetGValue(colour);
        const int32_t db = Palette[i].peBlue - GetBValue(colour);
        const int32_t distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) best = i, bestDistance = distance;
    }
    return best;
}

bool SameColour(const PALETTEENTRY& a, const PALETTEENTRY& b) {
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

// "what: 1-9 246-254 (18)": the entries where two tables differ, as ranges.
void PrintDifferences(const char* what, const PALETTEENTRY* a, const PALETTEENTRY* b) {
    std::printf("%s:", what);
    int32_t count = 0;
    for (int32_t i = 0; i < 256; ++i) {
        if (SameColour(a[i], b[i])) continue;
        int32_t j = i;
        while (j + 1 < 256 && !SameColour(a[j + 1], b[j + 1])) ++j;
        std::printf(j > i ? " %d-%d" : " %d", i, j);
        count += j - i + 1;
        i = j;
    }
    std::printf(count ? " (%d entries)\n" : " none\n", count);
}

IDirectDrawSurface* CreatePlainSurface(IDirectDraw* dd) {
    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = 400;
    desc.dwHeight = 300;
    IDirectDrawSurface* surface = nullptr;
    return dd->CreateSurface(&desc, &surface, nullptr) == DD_OK ? surface : nullptr;
}

int32_t ReadEntry(IDirectDrawSurface* surface, int32_t x, int32_t y) {
    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return -1;
    const int32_t entry = static_cast<const BYTE*>(desc.lpSurface)[y * desc.lPitch + x];
    surface->Unlock(desc.lpSurface);
    return entry;
}

// Draws each game colour with a pen and as a text background on the surface's device
// context, reads back the entries painted and compares them with the palette's nearest.
void ProbeSurfaceDc(IDirectDrawSurface* surface, const char* when) {
    std::printf("GDI on an off-screen surface, %s:\n", when);
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) {
        std::printf("  GetDC failed\n");
        return;
    }
    RGBQUAD table[256];
    ZeroMemory(table, sizeof table);
    const UINT entries = GetDIBColorTable(dc, 0, 256, table);
    PALETTEENTRY tableEntries[256];
    for (int32_t i = 0; i < 256; ++i)
        tableEntries[i] = {table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue, 0};
    std::printf("  its colour table has %u entries; ", entries);
    PrintDifferences("they differ from the game's palette at", tableEntries, Palette);
    for (int32_t k = 0; k < GameColourCount; ++k) {
        HPEN pen = CreatePen(PS_SOLID, 1, GameColours[k].Colour);
        HGDIOBJ previous = SelectObject(dc, pen);
        MoveToEx(dc, 0, k, nullptr);
        LineTo(dc, 10, k);
        SelectObject(dc, previous);
        DeleteObject(pen);
        SetBkColor(dc, GameColours[k].Colour);
        RECT cell = {20, k, 30, k + 1};
        ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &cell, "", 0, nullptr);
    }
    surface->ReleaseDC(dc);
    for (int32_t k = 0; k < GameColourCount; ++k) {
        const int32_t wanted = NearestEntry(GameColours[k].Colour);
        const int32_t pen = ReadEntry(surface, 5, k), background = ReadEntry(surface, 25, k);
        std::printf("  %-12s pen entry %3d, background entry %3d, nearest entry %3d%s\n",
                    GameColours[k].Name, pen, background, wanted,
                    pen == wanted && background == wanted ? "" : "  <- not the nearest");
    }
}

// The window's pixels as GDI reads them back, 0x00RRGGBB, top row first.
void ReadWindow(DWORD* pixels, int32_t width, int32_t height) {
    BITMAPINFO info;
    ZeroMemory(&info, sizeof info);
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC window = GetDC(Window);
    HBITMAP dib = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(window);
    HGDIOBJ previous = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
    GdiFlush();
    std::memcpy(pixels, bits, sizeof(DWORD) * width * height);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(dib);
    ReleaseDC(Window, window);
}

// How many colours GDI reads back from the 256 cells of the grid whose left edge is at x.
// That is the window as the system holds it; what reaches the screen may be less again (a
// screenshot tells).
void ReportShownColours(const char* how, int32_t left, bool listGameColours) {
    static DWORD pixels[400 * PaletteGridSize];
    ReadWindow(pixels, 400, PaletteGridSize);
    auto shown = [&](int32_t entry) {
        const int32_t x =
            left + (entry % PaletteGridColumns) * PaletteGridCell + PaletteGridCell / 2;
        const int32_t y = (entry / PaletteGridColumns) * PaletteGridCell + PaletteGridCell / 2;
        return pixels[y * 400 + x] & 0xFFFFFF;
    };
    std::set<DWORD> distinct;
    for (int32_t i = 0; i < 256; ++i) distinct.insert(shown(i));
    std::printf("%s: GDI reads %zu distinct colours back from the window's 256 cells\n", how,
                distinct.size());
    if (!listGameColours) return;
    for (const NamedColour& c : GameColours) {
        const int32_t entry = NearestEntry(c.Colour);
        std::printf("  %-12s entry %3d (%3d,%3d,%3d) reads back as (%3lu,%3lu,%3lu)\n", c.Name,
                    entry, Palette[entry].peRed, Palette[entry].peGreen, Palette[entry].peBlue,
                    shown(entry) >> 16, (shown(entry) >> 8) & 255, shown(entry) & 255);
    }
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

} // namespace

int main(int argc, char** argv) {
    int32_t holdSeconds = 0;
    for (int32_t i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--hold") == 0) holdSeconds = std::atoi(argv[i + 1]);
    static_assert(sizeof Palette == 1024, "entries are red, green, blue and flags bytes");
    SetColourCube(reinterpret_cast<uint8_t*>(Palette));
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    HDC screen = GetDC(nullptr);
    std::printf("desktop: %d bits a pixel, palette device: %s, palette size %d, %d entries "
                "reserved\n",
                GetDeviceCaps(screen, BITSPIXEL),
                (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) ? "yes" : "no",
                GetDeviceCaps(screen, SIZEPALETTE), GetDeviceCaps(screen, NUMRESERVED));
    PALETTEENTRY systemBefore[256], systemAfter[256];
    ZeroMemory(systemBefore, sizeof systemBefore);
    GetSystemPaletteEntries(screen, 0, 256, systemBefore);

    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ddprobe";
    RegisterClassA(&windowClass);
    RECT outer = {0, 0, 400, 300};
    AdjustWindowRect(&outer, WS_CAPTION | WS_SYSMENU, FALSE);
    Window = CreateWindowExA(0, "ddprobe", "ddprobe", WS_CAPTION | WS_SYSMENU, 0, 0,
                             outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                             windowClass.hInstance, nullptr);
    ShowWindow(Window, SW_SHOW);
    PumpMessages();

    IDirectDraw* dd = nullptr;
    if (DirectDrawCreate(nullptr, &dd, nullptr) != DD_OK) {
        std::printf("DirectDrawCreate failed\n");
        return 1;
    }
    dd->SetCooperativeLevel(Window, DDSCL_NORMAL);
    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    IDirectDrawSurface* primary = nullptr;
    if (dd->CreateSurface(&desc, &primary, nullptr) != DD_OK) {
        std::printf("no primary surface\n");
        return 1;
    }
    IDirectDrawClipper* clipper = nullptr;
    dd->CreateClipper(0, &clipper, nullptr);
    clipper->SetHWnd(0, Window);
    primary->SetClipper(clipper);
    DDPIXELFORMAT format;
    ZeroMemory(&format, sizeof format);
    format.dwSize = sizeof format;
    primary->GetPixelFormat(&format);
    std::printf("primary: %lu bits a pixel%s\n", format.dwRGBBitCount,
                (format.dwFlags & DDPF_PALETTEINDEXED8) ? ", palette-indexed" : "");
    IDirectDrawSurface* surface = CreatePlainSurface(dd);
    if (!surface) {
        std::printf("no off-screen surface\n");
        return 1;
    }
    const bool indexed = (format.dwFlags & DDPF_PALETTEINDEXED8) != 0;
    if (indexed) {
        ProbeSurfaceDc(surface, "no palette attached yet");
        IDirectDrawPalette* allow256 = nullptr;
        PALETTEENTRY kept[256];
        if (dd->CreatePalette(DDPCAPS_8BIT | DDPCAPS_ALLOW256, Palette, &allow256, nullptr) ==
            DD_OK) {
            allow256->GetEntries(0, 0, 256, kept);
            PrintDifferences("palette made with DDPCAPS_ALLOW256 differs from its entries at", kept,
                             Palette);
            allow256->Release();
        }
        IDirectDrawPalette* palette = nullptr;
        if (dd->CreatePalette(DDPCAPS_8BIT, Palette, &palette, nullptr) != DD_OK) {
            std::printf("CreatePalette(DDPCAPS_8BIT) failed\n");
            return 1;
        }
        palette->GetEntries(0, 0, 256, kept);
        PrintDifferences("palette made with DDPCAPS_8BIT differs from its entries at", kept,
                         Palette);
        std::printf("attached to the primary: 0x%lx\n", primary->SetPalette(palette));
        GetSystemPaletteEntries(screen, 0, 256, systemAfter);
        PrintDifferences("the system palette changed at", systemAfter, systemBefore);
        ProbeSurfaceDc(surface, "the palette attached to the primary");
    }

    // The grid, presented as the game presents a frame: a blit of the off-screen surface.
    DDBLTFX effects;
    ZeroMemory(&effects, sizeof effects);
    effects.dwSize = sizeof effects;
    effects.dwFillColor = 0;
    surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
    for (int32_t i = 0; i < 256; ++i) {
        const LONG x = (i % PaletteGridColumns) * PaletteGridCell;
        const LONG y = (i / PaletteGridColumns) * PaletteGridCell;
        RECT cell = {x, y, x + PaletteGridCell, y + PaletteGridCell};
        effects.dwFillColor = static_cast<DWORD>(i);
        if (indexed) surface->Blt(&cell, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects);
    }
    // The same cells drawn by GDI alone, with the palette realised in the window's context.
    struct {
        WORD Version, Count;
        PALETTEENTRY Entries[256];
    } logical = {0x300, 256, {}};
    std::memcpy(logical.Entries, Palette, sizeof Palette);
    HPALETTE gdiPalette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&logical));
    const DWORD end = GetTickCount() + 1000u * holdSeconds;
    bool reported = false;
    do {
        PumpMessages();
        POINT origin = {0, 0};
        ClientToScreen(Window, &origin);
        RECT target = {origin.x, origin.y, origin.x + 400, origin.y + 300};
        primary->Blt(&target, surface, nullptr, DDBLT_WAIT, nullptr);
        HDC dc = GetDC(Window);
        HGDIOBJ previous = SelectPalette(dc, gdiPalette, FALSE);
        RealizePalette(dc);
        for (int32_t i = 0; i < 256 && indexed; ++i) {
            const LONG x = PaletteGridSecondLeft + (i % PaletteGridColumns) * PaletteGridCell;
            const LONG y = (i / PaletteGridColumns) * PaletteGridCell;
            RECT cell = {x, y, x + PaletteGridCell, y + PaletteGridCell};
            HBRUSH brush = CreateSolidBrush(PALETTEINDEX(i));
            FillRect(dc, &cell, brush);
            DeleteObject(brush);
        }
        SelectPalette(dc, static_cast<HPALETTE>(previous), FALSE);
        ReleaseDC(Window, dc);
        if (!reported && indexed) {
            ReportShownColours("presented by a DirectDraw blit", 0, true);
            ReportShownColours("drawn by GDI through a realised logical palette",
                               PaletteGridSecondLeft, false);
            std::printf("ready\n");
            reported = true;
        }
        Sleep(100);
    } while (static_cast<int32_t>(end - GetTickCount()) > 0);
    if (!reported) std::printf("ready\n");
    DeleteObject(gdiPalette);
    surface->Release();
    primary->Release();
    clipper->Release();
    dd->Release();
    DestroyWindow(Window);
    ReleaseDC(nullptr, screen);
    return 0;
}
