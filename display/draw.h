// Every drawing operation the game uses. Game logic draws only through these; each build
// links its own implementation (software pixel buffers, or DirectDraw and GDI).
#pragma once
#include <cstdint>

struct Surface; // defined by the backend

extern Surface* PrimarySurface; // what the window shows
extern Surface* BackBuffer;     // every frame is composed here
extern Surface* BackBuffer2;    // the saved static screen and the title canvas
extern Surface* TitleSurface;   // 303x92 title logo
extern Surface* GameOverSurface;
extern Surface* OhNoSurface;   // life lost
extern Surface* LetsGoSurface; // level start

constexpr int32_t ScreenWidth = 400;
constexpr int32_t ScreenHeight = 300;

// RGB colours are packed 0x00BBGGRR; fills take raw pixel values instead.
constexpr uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
    return r | (g << 8) | (b << 16);
}

// The raw pixel values that the fifteen reference colours produce on BackBuffer, and the
// background in entry 15. Entry 0 is the wall colour, 2 the trail colour, 1..12 claim colours.
extern uint32_t ColourTable[16];
extern const uint32_t ReferenceColours[15]; // as RGB

int32_t DDFillRect(Surface* surface, uint32_t colour, int32_t x, int32_t y, int32_t width,
                   int32_t height);
int32_t DDClearSurface(Surface* surface, uint32_t colour);
// Copies the top rows of one 400x300 surface onto the same place of another, waiting for
// the blitter; what the static-screen copies are made of.
int32_t CopyScreenRows(Surface* destination, Surface* source, int32_t rows);
void ClearAllSurfaces();
int32_t SaveStaticScreen();
int32_t RestoreStaticScreen();

int32_t DrawTextLeft(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                     int32_t x, int32_t y);
int32_t DrawTextRight(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                      int32_t x, int32_t y);
int32_t DrawTextCentred(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                        int32_t x, int32_t y);
int32_t SetTextFont(Surface* surface, const char* faceName, int32_t tenthsOfPoint);
// Deletes the text font; the main window's destruction does it for good.
void DeleteTextFont();

int32_t DrawRectangle(Surface* surface, uint32_t pen, int32_t x, int32_t y, int32_t width,
                      int32_t height, int32_t penWidth);
int32_t DrawLine(Surface* surface, uint32_t pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2);

// Copies a whole art surface with its top-left corner at (x, y); with the colour key, pixels
// of raw value 0 in the art are skipped.
int32_t DrawArt(Surface* destination, Surface* art, int32_t x, int32_t y, int32_t useColourKey);

void GrabPlayfieldFromScreen();
void SampleColours();
void DrawReferenceColours();

// Copies BackBuffer2 (title state) or BackBuffer (every other state) to the window.
int32_t PresentFrame();
