// The DirectDraw display of the Windows build: what its pieces (set-up, art and palette,
// drawing, read-back) and the window procedure share. Only Windows-only code includes this.
#pragma once
#include <windows.h>

#include <ddraw.h>

#include <cstdint>

#include "display/backend.h"

// draw.h leaves the surface opaque; here it is one DirectDraw surface with the size it was
// created at (BltFast does not clip, so blits need the size at hand).
struct Surface {
    IDirectDrawSurface* Dds = nullptr;
    int32_t Width = 0;
    int32_t Height = 0;
};

extern IDirectDraw* DDObject;
extern IDirectDrawClipper* Clipper; // held by the primary once attached
extern IDirectDrawPalette* Palette; // held by the primary once attached; 8-bit desktops only
extern DDSURFACEDESC SurfaceDesc;   // the back buffer's description, reused by its locks
extern RECT WindowRect;             // the main window's client area on the screen
extern int32_t DisplayRebuilding;   // 1 while RebuildDisplay replaces the window
extern HFONT TextFont;              // the font of every text, made by SetTextFont

// Set-up and presentation.
int32_t InitDisplay();
HRESULT DDStartup(IDirectDraw** object, GUID* driver, HWND window);
int32_t DDWinConfigure(IDirectDraw* object, Surface** primary, Surface** backBuffer,
                       IDirectDrawClipper** clipper, Surface** backBuffer2, HWND window);
HRESULT DDCreateFakeFlipper(IDirectDraw* object, Surface** primary, Surface** backBuffer,
                            Surface** backBuffer2);
HRESULT RestoreSurfaces();
void RebuildDisplay();
void ReleaseDisplay();
void ShutdownDisplay();

// A new wrapper for a created surface (its size read from the surface), and the release of
// one, which empties the pointer.
Surface* WrapSurface(IDirectDrawSurface* dds);
void ReleaseSurface(Surface** surface);

// The art: which global holds each art surface and its bitmap resource.
struct ArtHolder {
    Surface** Sprite = nullptr;
    int32_t Id = 0;
};
extern ArtHolder TitleArt, GameOverArt, OhNoArt, LetsGoArt;

int32_t LoadGameArt(DWORD caps, const DDPIXELFORMAT* format);
int32_t LoadArtSprite(ArtHolder* holder, IDirectDraw* object, Surface** surface, int32_t id,
                      const DWORD* colourKey, DWORD caps, const DDPIXELFORMAT* format);
HRESULT RestoreArtSprite(ArtHolder* holder, int32_t id);
IDirectDrawSurface* LoadBitmapSurface(IDirectDraw* object, LPCSTR bitmap, int32_t width,
                                      int32_t height, DWORD caps, const DDPIXELFORMAT* format);
HRESULT ReloadBitmapSurface(IDirectDrawSurface* surface, LPCSTR bitmap);
HRESULT CopyBitmapToSurface(IDirectDrawSurface* surface, HBITMAP bitmap, int32_t x, int32_t y,
                            int32_t width, int32_t height);

// The palette of an 8-bit desktop.
IDirectDrawPalette* LoadBitmapPalette(IDirectDraw* object, LPCSTR name);
int32_t AttachPalette(IDirectDraw* object, IDirectDrawPalette** palette, Surface* primary);
// The two palette messages; returns 1 when the message is answered here (with 1), 0 when
// the default handling is to follow.
int32_t ReassertPalette(UINT message, HWND sender);

// The font of the text drawing, at a size in tenths of a point.
HFONT CreateTextFont(HDC dc, const char* faceName, int32_t height, int32_t width,
                     int32_t attributes, int32_t logicalResolution);
