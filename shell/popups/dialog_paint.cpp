// Drawing a dialog box on its canvas: a classic window face with its controls.
#include "display/draw.h"
#include "display/software/surface.h"
#include "display/software/text.h"
#include "shell/popups/dialog_parts.h"

namespace {

// A control's caption. Statics are drawn from the top of their box; buttons centre it.
void DrawCaption(Surface* s, const DialogBox& box, const DialogItem& item, const PopupRect& b,
                 uint32_t background) {
    const char* text = item.Text.c_str();
    const int32_t middle = b.Y + (b.H - box.Font.Height) / 2;
    switch (item.Def->Kind) {
    case ControlKind::StaticCentre:
        DrawTextCentred(s, text, background, InkColour, b.X + b.W / 2, b.Y);
        break;
    case ControlKind::StaticRight:
        DrawTextRight(s, text, background, InkColour, b.X + b.W, b.Y);
        break;
    case ControlKind::StaticLeft: DrawTextLeft(s, text, background, InkColour, b.X, b.Y); break;
    case ControlKind::RadioButton:
        DrawTextLeft(s, text, background, InkColour, b.X + 16, middle);
        break;
    default: DrawTextCentred(s, text, background, InkColour, b.X + b.W / 2, middle); break;
    }
}

void DrawPicture(Surface* s, const DialogItem& item) {
    const PopupRect& b = item.Box;
    FrameBox(s, b.X, b.Y, b.W, b.H, ShadowColour, LightColour);
    const Surface* picture = item.Picture;
    if (!picture) return;
    // Centred in its box, inside the sunken edge.
    const int32_t left = b.X + (b.W - picture->Width) / 2, top = b.Y + (b.H - picture->Height) / 2;
    for (int32_t y = 0; y < picture->Height; ++y)
        for (int32_t x = 0; x < picture->Width; ++x) {
            int32_t dx = left + x, dy = top + y;
            if (dx <= b.X || dy <= b.Y || dx >= b.X + b.W - 1 || dy >= b.Y + b.H - 1) continue;
            uint32_t rgb = PixelToRgb(picture, ReadPixel(picture, x, y));
            WritePixel(s, dx, dy, MapRgbToPixel(s, rgb));
        }
}

void DrawGroupBox(Surface* s, const DialogBox& box, const DialogItem& item) {
    const PopupRect& b = item.Box;
    const int32_t top = b.Y + box.Font.Height / 2;
    // An etched frame: a light line under a dark one, one pixel apart.
    FrameBox(s, b.X + 1, top + 1, b.W - 1, b.H - (top - b.Y) - 1, LightColour, LightColour);
    FrameBox(s, b.X, top, b.W - 1, b.H - (top - b.Y) - 1, ShadowColour, ShadowColour);
    DrawTextLeft(s, item.Text.c_str(), FaceColour, InkColour, b.X + box.Font.AverageWidth, b.Y);
}

void DrawRadio(Surface* s, const DialogBox& box, const DialogItem& item, int32_t focused) {
    const PopupRect& b = item.Box;
    const int32_t cx = b.X + 6, cy = b.Y + b.H / 2;
    // A disc of radius 5 with a dark rim, and a dot when selected.
    for (int32_t dy = -6; dy <= 6; ++dy)
        for (int32_t dx = -6; dx <= 6; ++dx) {
            int32_t r2 = dx * dx + dy * dy;
            if (r2 > 30) continue;
            uint32_t colour = r2 > 20 ? (dx + dy < 0 ? ShadowColour : LightColour) : LightColour;
            if (item.Checked && r2 <= 4) colour = InkColour;
            FillBox(s, cx + dx, cy + dy, 1, 1, colour);
        }
    DrawCaption(s, box, item, b, FaceColour);
    if (focused) DrawFocusFrame(s, b.X + 14, b.Y, TextWidth(item.Text) + 4, b.H);
}

void DrawButton(Surface* s, const DialogBox& box, const DialogItem& item, int32_t focused,
                int32_t down) {
    PopupRect b = item.Box;
    FillBox(s, b.X, b.Y, b.W, b.H, FaceColour);
    // The default button, and the one with the focus, wear a black outline.
    if (item.Def->Kind == ControlKind::DefaultPushButton || focused) {
        FrameBox(s, b.X, b.Y, b.W, b.H, InkColour, InkColour);
        b = {b.X + 1, b.Y + 1, b.W - 2, b.H - 2};
    }
    if (down) {
        FrameBox(s, b.X, b.Y, b.W, b.H, ShadowColour, ShadowColour);
    } else {
        FrameBox(s, b.X, b.Y, b.W, b.H, LightColour, InkColour);
        FrameBox(s, b.X + 1, b.Y + 1, b.W - 2, b.H - 2, FaceColour, ShadowColour);
    }
    const PopupRect& c = item.Box;
    // A pressed button's caption moves down and right by a pixel.
    DrawCaption(s, box, item, down ? PopupRect{c.X + 1, c.Y + 1, c.W, c.H} : c, FaceColour);
    if (focused) DrawFocusFrame(s, c.X + 4, c.Y + 4, c.W - 8, c.H - 8);
}

// The edit shows as much of its text as fits, scrolled so that the caret stays in view.
void DrawEdit(Surface* s, const DialogBox& box, const DialogItem& item, int32_t focused) {
    const PopupRect& b = item.Box;
    const std::string_view text = item.Text;
    const size_t caret = box.Caret;
    FillBox(s, b.X, b.Y, b.W, b.H, LightColour);
    FrameBox(s, b.X, b.Y, b.W, b.H, ShadowColour, LightColour);
    FrameBox(s, b.X + 1, b.Y + 1, b.W - 2, b.H - 2, InkColour, FaceColour);
    const int32_t room = b.W - 6;
    size_t start = 0;
    while (start < caret && TextWidth(text.substr(start, caret - start)) > room) ++start;
    size_t end = start;
    while (end < text.size() && TextWidth(text.substr(start, end + 1 - start)) <= room) ++end;
    const int32_t y = b.Y + (b.H - box.Font.Height) / 2;
    const bool selected = focused && box.AllSelected && !text.empty();
    DrawTextLeft(s, std::string(text.substr(start, end - start)).c_str(),
                 selected ? SelectionColour : LightColour, selected ? LightColour : InkColour,
                 b.X + 3, y);
    if (focused && !selected) {
        int32_t x = b.X + 3 + TextWidth(text.substr(start, caret - start));
        FillBox(s, x, y, 1, box.Font.Height, InkColour);
    }
}

} // namespace

int32_t RenderDialogBox(DialogBox* box) {
    if (!box->Canvas || !box->Dirty) return 0;
    Surface* s = box->Canvas;
    UsePopupFont();
    FillBox(s, 0, 0, box->Width, box->Height, FaceColour);
    for (int32_t i = 0; i < static_cast<int32_t>(box->Items.size()); ++i) {
        const DialogItem& item = box->Items[i];
        const int32_t focused = i == box->Focus;
        switch (item.Def->Kind) {
        case ControlKind::Picture: DrawPicture(s, item); break;
        case ControlKind::GroupBox: DrawGroupBox(s, *box, item); break;
        case ControlKind::RadioButton: DrawRadio(s, *box, item, focused); break;
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
            DrawButton(s, *box, item, focused, box->Pressed == i && box->PressedInside);
            break;
        case ControlKind::Edit: DrawEdit(s, *box, item, focused); break;
        default: DrawCaption(s, *box, item, item.Box, FaceColour); break;
        }
    }
    box->Dirty = 0;
    return 1;
}
