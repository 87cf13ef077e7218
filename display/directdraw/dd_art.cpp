// The art: bitmap resources turned into DirectDraw surfaces keyed on black, and reloaded in
// place after the surfaces were lost or the palette changed.
#include "display/directdraw/dd_display.h"
#include "display/draw.h"
#include "game/game_record.h"
#include "shell/platform.h"

ArtHolder TitleArt, GameOverArt, OhNoArt, LetsGoArt;

namespace {

HINSTANCE AppInstance() {
    return static_cast<HINSTANCE>(Game.AppInstance);
}

// A bitmap as a DIB section: from the program's resources, else from a file of that name.
// A resource number has no file name, so only a named bitmap is looked for on disk.
HBITMAP LoadBitmapImage(LPCSTR bitmap, int32_t width, int32_t height) {
    auto image = static_cast<HBITMAP>(
        LoadImageA(AppInstance(), bitmap, IMAGE_BITMAP, width, height, LR_CREATEDIBSECTION));
    if (!image && !IS_INTRESOURCE(bitmap))
        image = static_cast<HBITMAP>(LoadImageA(nullptr, bitmap, IMAGE_BITMAP, width, height,
                                                LR_CREATEDIBSECTION | LR_LOADFROMFILE));
    return image;
}

LPCSTR ResourceName(int32_t id) {
    return MAKEINTRESOURCEA(id);
}

} // namespace

HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int32_t x, int32_t y,
                            int32_t width, int32_t height) {
    if (!bitmap || !surface) return E_FAIL;
    // A lost surface gets its memory back first.
    surface->Restore();
    HDC image = CreateCompatibleDC(nullptr);
    if (!image) return E_FAIL;
    HGDIOBJ previous = SelectObject(image, bitmap);
    BITMAP info;
    ZeroMemory(&info, sizeof info);
    GetObjectA(bitmap, sizeof info, &info);
    if (width == 0) width = info.bmWidth;
    if (height == 0) height = info.bmHeight;

    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH;
    surface->GetSurfaceDesc(&desc);
    HDC dc = nullptr;
    HRESULT result = surface->GetDC(&dc);
    if (result == DD_OK) {
        StretchBlt(dc, 0, 0, static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight), image,
                   x, y, width, height, SRCCOPY);
        surface->ReleaseDC(dc);
    }
    SelectObject(image, previous);
    DeleteDC(image);
    return result;
}

IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* object, LPCSTR bitmap, int32_t width,
                                      int32_t height, DWORD caps, const DDPIXELFORMAT* format) {
    HBITMAP image = LoadBitmapImage(bitmap, width, height);
    if (!image) return nullptr;
    BITMAP info;
    ZeroMemory(&info, sizeof info);
    GetObjectA(image, sizeof info, &info);

    DDSURFACEDESC desc;
    ZeroMemory(&desc, sizeof desc);
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.ddsCaps.dwCaps = caps;
    desc.dwWidth = static_cast<DWORD>(info.bmWidth);
    desc.dwHeight = static_cast<DWORD>(info.bmHeight);
    if (format) {
        desc.dwFlags |= DDSD_PIXELFORMAT;
        desc.ddpfPixelFormat = *format;
        desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    }
    IDirectDrawSurface* surface = nullptr;
    if (object->CreateSurface(&desc, &surface, nullptr) != DD_OK) {
        DeleteObject(image);
        return nullptr;
    }
    CopyBitmapToSurface(surface, image, 0, 0, 0, 0);
    DeleteObject(image);
    return surface;
}

HRESULT ReloadBitmapSurface(IDirectDrawSurface* surface, LPCSTR bitmap) {
    HBITMAP image = LoadBitmapImage(bitmap, 0, 0);
    if (!image) return E_FAIL;
    HRESULT result = CopyBitmapToSurface(surface, image, 0, 0, 0, 0);
    DeleteObject(image);
    return result;
}

int32_t LoadArtSprite(ArtHolder* holder, IDirectDraw* object, Surface** surface, int32_t id,
                      const DWORD* colourKey, DWORD caps, const DDPIXELFORMAT* format) {
    // A surface left from an earlier load would otherwise be lost.
    ReleaseSurface(surface);
    *surface = WrapSurface(LoadBitmapSurface(object, ResourceName(id), 0, 0, caps, format));
    if (!*surface) {
        DebugOutput("Couldn't create art surface.\n");
        return 0;
    }
    if (colourKey) {
        DDCOLORKEY key;
        key.dwColorSpaceLowValue = *colourKey;
        key.dwColorSpaceHighValue = *colourKey;
        if ((*surface)->Dds->SetColorKey(DDCKEY_SRCBLT, &key) != DD_OK) {
            DebugOutput("Couldn't set the color key.\n");
            ReleaseSurface(surface);
            return 0;
        }
    }
    holder->Sprite = surface;
    holder->Id = id;
    return 1;
}

HRESULT RestoreArtSprite(ArtHolder* holder, int32_t id) {
    if (!holder || !holder->Sprite || !*holder->Sprite) return DDERR_SURFACELOST;
    IDirectDrawSurface* surface = (*holder->Sprite)->Dds;
    HRESULT result = surface->Restore();
    if (result != DD_OK) return result;
    return ReloadBitmapSurface(surface, ResourceName(id)) == DD_OK ? 1 : 0;
}

int32_t LoadGameArt(DWORD caps, const DDPIXELFORMAT* format) {
    if (!PrimarySurface) return 0;
    DDPIXELFORMAT primaryFormat;
    ZeroMemory(&primaryFormat, sizeof primaryFormat);
    primaryFormat.dwSize = sizeof primaryFormat;
    const bool paletteIndexed = PrimarySurface->Dds->GetPixelFormat(&primaryFormat) == DD_OK &&
                                (primaryFormat.dwFlags & DDPF_PALETTEINDEXED8);
    // The sprite loader is handed only the sprite's number; the rest waits here.
    static DWORD artCaps;
    static const DDPIXELFORMAT* artFormat;
    artCaps = caps;
    artFormat = format;
    static ArtHolder* const holders[GameArtCount] = {&TitleArt, &GameOverArt, &OhNoArt, &LetsGoArt};
    return LoadArtInOrder(
        paletteIndexed, [] { return AttachPalette(DDObject, &Palette, PrimarySurface); },
        [](int32_t i) {
            // Black, raw value 0, is the art's transparent colour.
            const DWORD transparent = 0;
            return LoadArtSprite(holders[i], DDObject, GameArt[i].Target, *GameArt[i].Id,
                                 &transparent, artCaps, artFormat);
        });
}
