// The right-click menu in the page: the platform-free context menu as a pop-up at the
// pointer, with a loop that feeds it the page's events until it has ended.
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "display/draw.h"
#include "shell/popups/context_menu.h"
#include "shell/web/web_shell.h"

namespace {

const ContextMenu* OpenMenu = nullptr; // for the page's test hook
int32_t MenuLeft = 0, MenuTop = 0;

void Deliver(ContextMenu& menu, const WebEvent& e) {
    switch (e.Kind) {
    case WebEventKind::KeyDown:
        if (e.VirtualKey) FeedContextMenu(&menu, KeyDownEvent(e.VirtualKey, e.Modifiers));
        if (e.Character >= 0x20 && e.Character < 0x7F && !menu.Ended) {
            const char typed[2] = {static_cast<char>(e.Character), '\0'};
            FeedContextMenu(&menu, TextEvent(typed));
        }
        break;
    case WebEventKind::MouseDown:
    case WebEventKind::MouseUp:
    case WebEventKind::MouseMove: {
        PopupEventKind kind = e.Kind == WebEventKind::MouseDown ? PopupEventKind::MouseDown
                              : e.Kind == WebEventKind::MouseUp ? PopupEventKind::MouseUp
                                                                : PopupEventKind::MouseMove;
        int32_t button = e.Button == 0 ? MouseLeft : e.Button == 1 ? MouseMiddle : MouseRight;
        FeedContextMenu(&menu, MouseEvent(kind, e.X - MenuLeft, e.Y - MenuTop, button));
        break;
    }
    default: break;
    }
}

} // namespace

int32_t RunContextMenu(int32_t x, int32_t y) {
    ContextMenu menu;
    if (!OpenContextMenu(&menu)) return 0;
    // At the pointer, kept on the picture where the picture has room for it.
    MenuLeft = x + menu.Width > ScreenWidth && x >= menu.Width ? x - menu.Width : x;
    MenuTop = y + menu.Height > ScreenHeight && y >= menu.Height ? y - menu.Height : y;
    OpenMenu = &menu;
    Web.ModalOpen = 1;
    Web.ModalRan = 1;
    while (!menu.Ended) {
        if (RenderContextMenu(&menu)) ShowPopup(menu.Canvas, MenuLeft, MenuTop);
        WaitForAnimationFrame();
        WebEvent e;
        while (!menu.Ended && NextEvent(&e)) Deliver(menu, e);
    }
    HidePopup();
    const int32_t command = menu.Command;
    OpenMenu = nullptr;
    Web.ModalOpen = 0;
    CloseContextMenu(&menu);
    return command;
}

// The open menu for the page's test hook: where it lies on the picture and its items' boxes
// in its own pixels, with their commands.
extern "C" EMSCRIPTEN_KEEPALIVE const char* WebMenuJson() {
    static std::string json;
    json = "null";
    if (!OpenMenu) return json.c_str();
    char text[160];
    std::snprintf(text, sizeof text, "{\"Left\": %d, \"Top\": %d, \"Items\": [",
                  static_cast<int>(MenuLeft), static_cast<int>(MenuTop));
    json = text;
    const char* separator = "";
    for (int32_t i = 0; i < ContextMenuItemCount; ++i) {
        if (!ContextMenuItems[i].Text) continue;
        PopupRect box = ContextMenuItemBox(*OpenMenu, i);
        std::snprintf(text, sizeof text,
                      "%s{\"Command\": %d, \"X\": %d, \"Y\": %d, \"W\": %d, \"H\": %d}", separator,
                      static_cast<int>(ContextMenuItems[i].Command), static_cast<int>(box.X),
                      static_cast<int>(box.Y), static_cast<int>(box.W), static_cast<int>(box.H));
        json += text;
        separator = ", ";
    }
    json += "]}";
    return json.c_str();
}
