// What the dialog boxes and the context menu draw with: the colours of a classic window
// face, boxes and frames clipped to the canvas, the dialog font's metrics and pictures.
#pragma once
#include <cstdint>

#include "display/draw.h"

struct Surface;

// A rectangle in a pop-up's logical pixels.
struct PopupRect {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t W = 0;
    int32_t H = 0;
};

constexpr uint32_t FaceColour = Rgb(192, 192, 192);
constexpr uint32_t ShadowColour = Rgb(128, 128, 128);
constexpr uint32_t LightColour = Rgb(255, 255, 255);
constexpr uint32_t InkColour = Rgb(0, 0, 0);
constexpr uint32_t SelectionColour = Rgb(0, 0, 128);

// The dialog font is the game's text face at 8 points, 96 dpi; dialog units are converted
// with its average character width and its height, as a dialog manager does.
struct PopupFontMetrics {
    int32_t AverageWidth = 6;
    int32_t Height = 13;
};
// Makes the dialog font the current text font, which TextWidth measures in.
void UsePopupFont();
// UsePopupFont, and the font's metrics; the defaults above when there is no font.
PopupFontMetrics PopupFont();

// Colours are RGB; everything is clipped to the surface.
void FillBox(Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rgb);
void FrameBox(Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t topLeft,
              uint32_t bottomRight);
// The dotted frame round the control that has the keyboard focus.
void DrawFocusFrame(Surface* surface, int32_t x, int32_t y, int32_t w, int32_t h);

// A picture for a dialog: the bitmap resource on a new 32-bit surface, or nullptr.
Surface* LoadPopupPicture(int32_t bitmapId);
// A 32-bit canvas for a pop-up of w x h logical pixels, or nullptr.
Surface* CreatePopupCanvas(int32_t w, int32_t h);
