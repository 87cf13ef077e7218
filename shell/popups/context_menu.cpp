#include "shell/popups/context_menu.h"

#include <string_view>

#include "display/draw.h"
#include "display/software/surface.h"
#include "display/software/text.h"
#include "shell/keys.h"

const ContextMenuItem ContextMenuItems[] = {
    {"About", "F9", MenuAbout, 0},
    {"Options", "F11", MenuOptions, 0},
    {nullptr, nullptr, 0, 0},
    {"Email me", "", MenuEmail, 0},
    {"Visit WWW Page", "", MenuWebPage, 6},
};
const int32_t ContextMenuItemCount = sizeof ContextMenuItems / sizeof ContextMenuItems[0];

namespace {

constexpr int32_t SeparatorHeight = 8;
constexpr int32_t TextLeft = 18;

int32_t ItemHeight(const ContextMenu& menu, int32_t i) {
    return ContextMenuItems[i].Text ? menu.Font.Height + 6 : SeparatorHeight;
}

int32_t ItemTop(const ContextMenu& menu, int32_t i) {
    int32_t y = 3;
    for (int32_t j = 0; j < i; ++j) y += ItemHeight(menu, j);
    return y;
}

// The item under the point, or -1 (outside, on the border or on the separator).
int32_t ItemAt(const ContextMenu& menu, int32_t x, int32_t y) {
    if (x < 0 || x >= menu.Width) return -1;
    for (int32_t i = 0; i < ContextMenuItemCount; ++i) {
        int32_t top = ItemTop(menu, i);
        if (y >= top && y < top + ItemHeight(menu, i)) return ContextMenuItems[i].Text ? i : -1;
    }
    return -1;
}

// The item whose access key the virtual key is, or -1.
int32_t ItemForKey(int32_t key) {
    if (key < 'A' || key > 'Z') return -1;
    for (int32_t i = 0; i < ContextMenuItemCount; ++i) {
        const ContextMenuItem& item = ContextMenuItems[i];
        if (item.Text && (item.Text[item.AccessKey] & ~0x20) == key) return i;
    }
    return -1;
}

// The next item that is not a separator, round the ends.
int32_t Step(int32_t from, int32_t step) {
    int32_t i = from;
    do {
        i = (i + step + ContextMenuItemCount) % ContextMenuItemCount;
    } while (!ContextMenuItems[i].Text);
    return i;
}

void End(ContextMenu& menu, int32_t chosen) {
    menu.Ended = 1;
    menu.Command = chosen >= 0 ? ContextMenuItems[chosen].Command : 0;
}

void KeyDown(ContextMenu& menu, int32_t key) {
    menu.Dirty = 1;
    if (key == VkEscape) return End(menu, -1);
    if (key == VkDown)
        menu.Selected = Step(menu.Selected < 0 ? ContextMenuItemCount - 1 : menu.Selected, 1);
    if (key == VkUp) menu.Selected = Step(menu.Selected < 0 ? 0 : menu.Selected, -1);
    if (key == VkReturn && menu.Selected >= 0) return End(menu, menu.Selected);
    if (int32_t item = ItemForKey(key); item >= 0) End(menu, item);
}

} // namespace

PopupRect ContextMenuItemBox(const ContextMenu& menu, int32_t i) {
    return {3, ItemTop(menu, i), menu.Width - 6, ItemHeight(menu, i)};
}

int32_t OpenContextMenu(ContextMenu* menu) {
    CloseContextMenu(menu);
    menu->Font = PopupFont();
    menu->Width = 0;
    for (int32_t i = 0; i < ContextMenuItemCount; ++i) {
        const ContextMenuItem& item = ContextMenuItems[i];
        if (!item.Text) continue;
        int32_t w = TextLeft + TextWidth(item.Text) + 24 + TextWidth(item.Shortcut) + 12;
        if (w > menu->Width) menu->Width = w;
    }
    menu->Height = ItemTop(*menu, ContextMenuItemCount) + 3;
    menu->Canvas = CreatePopupCanvas(menu->Width, menu->Height);
    return menu->Canvas != nullptr;
}

void FeedContextMenu(ContextMenu* menu, const PopupEvent& e) {
    if (!menu->Canvas || menu->Ended) return;
    switch (e.Kind) {
    case PopupEventKind::KeyDown: KeyDown(*menu, e.Key); break;
    case PopupEventKind::MouseMove: {
        int32_t at = ItemAt(*menu, e.X, e.Y);
        if (at != menu->Selected) menu->Dirty = 1;
        menu->Selected = at;
        break;
    }
    case PopupEventKind::MouseDown:
        // A press anywhere else closes the menu without a command.
        if (e.X < 0 || e.Y < 0 || e.X >= menu->Width || e.Y >= menu->Height) End(*menu, -1);
        break;
    case PopupEventKind::MouseUp:
        if (int32_t at = ItemAt(*menu, e.X, e.Y); at >= 0) End(*menu, at);
        break;
    case PopupEventKind::Close: End(*menu, -1); break;
    case PopupEventKind::Text: break;
    }
}

int32_t RenderContextMenu(ContextMenu* menu) {
    if (!menu->Canvas || !menu->Dirty) return 0;
    Surface* s = menu->Canvas;
    const int32_t width = menu->Width;
    const uint32_t highlight = Rgb(96, 96, 96);
    UsePopupFont();
    FillBox(s, 0, 0, width, menu->Height, FaceColour);
    FrameBox(s, 0, 0, width, menu->Height, LightColour, InkColour);
    for (int32_t i = 0; i < ContextMenuItemCount; ++i) {
        const ContextMenuItem& item = ContextMenuItems[i];
        const PopupRect b = ContextMenuItemBox(*menu, i);
        if (!item.Text) {
            FillBox(s, b.X, b.Y + 3, b.W, 1, ShadowColour);
            FillBox(s, b.X, b.Y + 4, b.W, 1, LightColour);
            continue;
        }
        const uint32_t background = i == menu->Selected ? highlight : FaceColour;
        const uint32_t ink = i == menu->Selected ? LightColour : InkColour;
        FillBox(s, b.X, b.Y, b.W, b.H, background);
        DrawTextLeft(s, item.Text, background, ink, TextLeft, b.Y + 3);
        // The access key is underlined, as a window menu shows it.
        const std::string_view text = item.Text;
        FillBox(s, TextLeft + TextWidth(text.substr(0, item.AccessKey)),
                b.Y + 2 + menu->Font.Height, TextWidth(text.substr(item.AccessKey, 1)), 1, ink);
        if (item.Shortcut[0]) DrawTextRight(s, item.Shortcut, background, ink, width - 12, b.Y + 3);
    }
    menu->Dirty = 0;
    return 1;
}

void CloseContextMenu(ContextMenu* menu) {
    DestroySurface(menu->Canvas);
    menu->Canvas = nullptr;
    menu->Selected = -1;
    menu->Ended = 0;
    menu->Command = 0;
    menu->Dirty = 1;
}
