// The right-click menu of the main window: the commands a window menu would carry.
#include <cstring>
#include <string>

#include "display/draw.h"
#include "display/software/surface.h"
#include "display/software/text.h"
#include "shell/keys.h"
#include "shell/popups/popup_paint.h"
#include "shell/sdl/sdl_shell.h"

namespace {

struct MenuItem {
    const char* Text; // nullptr for a separator
    const char* Shortcut;
    int32_t Command;
    int32_t AccessKey; // index in Text of the underlined letter that chooses the item
};

constexpr MenuItem Items[] = {
    {"About", "F9", MenuAbout, 0},
    {"Options", "F11", MenuOptions, 0},
    {nullptr, nullptr, 0, 0},
    {"Email me", "", MenuEmail, 0},
    {"Visit WWW Page", "", MenuWebPage, 6},
};

// The item whose access key the key is, or -1.
int32_t ItemForKey(SDL_Keycode key) {
    if (key < SDLK_a || key > SDLK_z) return -1;
    for (int32_t i = 0; i < static_cast<int32_t>(sizeof Items / sizeof Items[0]); ++i)
        if (Items[i].Text && (Items[i].Text[Items[i].AccessKey] | 0x20) == key) return i;
    return -1;
}
constexpr int32_t ItemCount = static_cast<int32_t>(sizeof Items / sizeof Items[0]);
constexpr int32_t SeparatorHeight = 8;

int32_t ItemHeight() {
    return PopupFont().Height + 6;
}

int32_t ItemTop(int32_t i) {
    int32_t y = 3;
    for (int32_t j = 0; j < i; ++j) y += Items[j].Text ? ItemHeight() : SeparatorHeight;
    return y;
}

int32_t ItemAt(int32_t y) {
    for (int32_t i = 0; i < ItemCount; ++i) {
        int32_t top = ItemTop(i), h = Items[i].Text ? ItemHeight() : SeparatorHeight;
        if (y >= top && y < top + h) return Items[i].Text ? i : -1;
    }
    return -1;
}

void Render(PopupWindow& p, Surface* s, int32_t width, int32_t height, int32_t selected) {
    const uint32_t face = Rgb(192, 192, 192), dark = Rgb(96, 96, 96);
    FillBox(s, 0, 0, width, height, face);
    FrameBox(s, 0, 0, width, height, Rgb(255, 255, 255), Rgb(0, 0, 0));
    for (int32_t i = 0; i < ItemCount; ++i) {
        int32_t top = ItemTop(i);
        if (!Items[i].Text) {
            FillBox(s, 3, top + 3, width - 6, 1, Rgb(128, 128, 128));
            FillBox(s, 3, top + 4, width - 6, 1, Rgb(255, 255, 255));
            continue;
        }
        uint32_t background = i == selected ? dark : face;
        uint32_t ink = i == selected ? Rgb(255, 255, 255) : Rgb(0, 0, 0);
        FillBox(s, 3, top, width - 6, ItemHeight(), background);
        DrawTextLeft(s, Items[i].Text, background, ink, 18, top + 3);
        // The access key is underlined, as a window menu shows it.
        std::string before(Items[i].Text, Items[i].AccessKey);
        std::string key(1, Items[i].Text[Items[i].AccessKey]);
        FillBox(s, 18 + TextWidth(before.c_str()), top + 2 + PopupFont().Height,
                TextWidth(key.c_str()), 1, ink);
        if (Items[i].Shortcut[0])
            DrawTextRight(s, Items[i].Shortcut, background, ink, width - 12, top + 3);
    }
    ShowPopupPicture(&p, s);
}

int32_t Step(int32_t from, int32_t step) {
    int32_t i = from;
    do {
        i = (i + step + ItemCount) % ItemCount;
    } while (!Items[i].Text);
    return i;
}

} // namespace

int32_t RunContextMenu() {
    int32_t width = 0;
    for (const MenuItem& item : Items)
        if (item.Text) {
            int32_t w = 18 + TextWidth(item.Text) + 24 + TextWidth(item.Shortcut) + 12;
            if (w > width) width = w;
        }
    int32_t height = ItemTop(ItemCount) + 3;
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    PopupWindow popup;
    Surface* canvas = CreatePopupCanvas(width, height);
    if (!canvas) return 0;
    if (!OpenPopupWindow(&popup, "Quorvanel", x, y, width, height,
                         SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU |
                             SDL_WINDOW_ALWAYS_ON_TOP)) {
        DestroySurface(canvas);
        return 0;
    }
    SDL_ShowWindow(popup.Window);
    FocusWindow(popup.Window);
    const Uint32 own = SDL_GetWindowID(popup.Window);

    int32_t selected = -1, chosen = -1, done = 0, dirty = 1;
    while (!done) {
        if (dirty) Render(popup, canvas, width, height, selected);
        dirty = 0;
        SDL_Event e;
        if (!WaitForEvent(&e, 250)) continue;
        switch (e.type) {
        case SDL_QUIT:
            SDL_PushEvent(&e); // for the main loop, once the menu is gone
            done = 1;
            break;
        case SDL_KEYDOWN:
            dirty = 1;
            if (e.key.keysym.sym == SDLK_ESCAPE) done = 1;
            if (e.key.keysym.sym == SDLK_DOWN)
                selected = Step(selected < 0 ? ItemCount - 1 : selected, 1);
            if (e.key.keysym.sym == SDLK_UP) selected = Step(selected < 0 ? 0 : selected, -1);
            if ((e.key.keysym.sym == SDLK_RETURN || e.key.keysym.sym == SDLK_KP_ENTER) &&
                selected >= 0) {
                chosen = selected;
                done = 1;
            }
            if (int32_t item = ItemForKey(e.key.keysym.sym); item >= 0) {
                chosen = item;
                done = 1;
            }
            break;
        case SDL_MOUSEMOTION:
            if (e.motion.windowID == own) {
                int32_t at = ItemAt(e.motion.y / Shell.Scale);
                dirty = at != selected;
                selected = at;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            // A press anywhere else closes the menu without a command.
            if (e.button.windowID != own) done = 1;
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.windowID == own) {
                int32_t at = ItemAt(e.button.y / Shell.Scale);
                if (at >= 0) {
                    chosen = at;
                    done = 1;
                }
            }
            break;
        case SDL_WINDOWEVENT:
            if (e.window.windowID == own && e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) done = 1;
            if (e.window.windowID != own && e.window.event == SDL_WINDOWEVENT_EXPOSED)
                KeepMainWindowPainted();
            break;
        default: break;
        }
    }
    ClosePopupWindow(&popup);
    DestroySurface(canvas);
    FocusWindow(Shell.Window);
    return chosen >= 0 ? Items[chosen].Command : 0;
}
