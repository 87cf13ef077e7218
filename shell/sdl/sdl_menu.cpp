// The right-click menu of the main window: the context menu of shell/popups in a borderless
// window at the mouse, with a loop that feeds it SDL's events until it has ended.
#include "shell/popups/context_menu.h"
#include "shell/sdl/sdl_shell.h"

int32_t RunContextMenu() {
    ContextMenu menu;
    if (!OpenContextMenu(&menu)) return 0;
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    PopupWindow popup;
    if (!OpenPopupWindow(&popup, "Quorvanel", x, y, menu.Width, menu.Height,
                         SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU |
                             SDL_WINDOW_ALWAYS_ON_TOP)) {
        CloseContextMenu(&menu);
        return 0;
    }
    SDL_ShowWindow(popup.Window);
    FocusWindow(popup.Window);
    const uint32_t own = SDL_GetWindowID(popup.Window);

    while (!menu.Ended) {
        if (RenderContextMenu(&menu)) ShowPopupPicture(&popup, menu.Canvas);
        SDL_Event e;
        if (!WaitForEvent(&e, 250)) continue;
        // The keyboard may still be the main window's: a menu window is never given it.
        if (e.type == SDL_KEYDOWN) e.key.windowID = own;
        PopupEvent event;
        if (PopupEventFromSdl(e, popup, &event)) {
            FeedContextMenu(&menu, event);
            continue;
        }
        switch (e.type) {
        case SDL_QUIT:
            SDL_PushEvent(&e); // for the main loop, once the menu is gone
            FeedContextMenu(&menu, CloseEvent());
            break;
        case SDL_MOUSEBUTTONDOWN:
            // A press on another window closes the menu without a command.
            FeedContextMenu(&menu, CloseEvent());
            break;
        case SDL_WINDOWEVENT:
            if (e.window.windowID == own && e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
                FeedContextMenu(&menu, CloseEvent());
            if (e.window.windowID != own && e.window.event == SDL_WINDOWEVENT_EXPOSED)
                KeepMainWindowPainted();
            break;
        default: break;
        }
    }
    const int32_t command = menu.Command;
    ClosePopupWindow(&popup);
    CloseContextMenu(&menu);
    FocusWindow(Shell.Window);
    return command;
}
