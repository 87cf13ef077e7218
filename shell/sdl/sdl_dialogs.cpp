// The desktop build's dialog boxes: the dialog manager of shell/popups in a window of its
// own over the main window, with a modal loop that feeds it SDL's events. No frame of the
// game runs until the box is closed.
#include "shell/popups/dialog_box.h"
#include "shell/sdl/sdl_shell.h"

namespace {

// The main window's client area on screen; a box gets the frame the main window has.
DialogScreen MainWindowScreen() {
    DialogScreen screen;
    int x = 0, y = 0, width = ScreenWidth, height = ScreenHeight;
    int top = 0, left = 0, bottom = 0, right = 0;
    if (Shell.Window) {
        SDL_GetWindowPosition(Shell.Window, &x, &y);
        SDL_GetWindowSize(Shell.Window, &width, &height);
        if (SDL_GetWindowBordersSize(Shell.Window, &top, &left, &bottom, &right) != 0)
            top = left = bottom = right = 0;
    }
    screen.OwnerClient = {x, y, x + width, y + height};
    screen.Frame = {left, top, right, bottom};
    screen.Scale = Shell.Scale;
    return screen;
}

void Deliver(DialogBox& box, PopupWindow& popup, const SDL_Event& e, int32_t* quitPending) {
    PopupEvent event;
    if (PopupEventFromSdl(e, popup, &event)) return FeedDialogBox(&box, event);
    const uint32_t own = SDL_GetWindowID(popup.Window);
    switch (e.type) {
    case SDL_QUIT:
        // The box is cancelled, and the quit waits for the main loop.
        *quitPending = 1;
        FeedDialogBox(&box, CloseEvent());
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event != SDL_WINDOWEVENT_EXPOSED) break;
        if (e.window.windowID == own)
            ShowPopupPicture(&popup, box.Canvas);
        else
            KeepMainWindowPainted();
        break;
    case SDL_MOUSEBUTTONDOWN:
        FocusWindow(popup.Window); // the main window waits for the box
        break;
    default: break;
    }
}

} // namespace

int32_t RunDialog(int32_t templateId) {
    DialogBox box;
    if (!OpenDialogBox(&box, templateId, MainWindowScreen())) return -1;
    PopupWindow popup;
    if (!OpenPopupWindow(&popup, box.Template->Caption, box.Left, box.Top, box.Width, box.Height,
                         SDL_WINDOW_SKIP_TASKBAR)) {
        CloseDialogBox(&box);
        return -1; // the caller goes on as if the box had been closed
    }
    if (Shell.Window) SDL_SetWindowModalFor(popup.Window, Shell.Window);
    SDL_ShowWindow(popup.Window);
    FocusWindow(popup.Window);

    int32_t quitPending = 0;
    while (!box.Ended) {
        if (RenderDialogBox(&box)) ShowPopupPicture(&popup, box.Canvas);
        SDL_Event e;
        if (WaitForEvent(&e, 250)) Deliver(box, popup, e, &quitPending);
    }
    const auto result = static_cast<int32_t>(box.Result);
    CloseDialogBox(&box);
    ClosePopupWindow(&popup);
    FocusWindow(Shell.Window);
    if (quitPending) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    return result;
}
