// Program entry of the Windows build and the message loop that drives the game: every
// waiting message first, a frame whenever the queue is empty.
#include "display/directdraw/dd_display.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/win32/win32_shell.h"

int32_t InitApplication(HINSTANCE instance) {
    Game.AppInstance = instance;
    if (!InitDisplay()) {
        MessageBoxA(nullptr, "DirectDraw Init FAILED", "ERROR", MB_OK);
        ShutdownDisplay();
        return 0;
    }
    ResetToTitle();
    // Shown plainly whatever the program was started with: the game needs its 400x300.
    ShowWindow(static_cast<HWND>(Game.MainWindow), SW_SHOW);
    return 1;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    if (!AllocPlayfield()) return 0;
    if (!InitApplication(instance)) return 0;
    Game.FpsStartTime = ReadMillisecondClock();
    LoadSettings();

    // No waiting and no sleeping: the millisecond clock alone decides when a frame is due.
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) break;
            if (got < 0) return 0;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else if (UpdateFrame(Game.WindowActive) < 0) {
            RebuildDisplay();
            ResetToTitle();
        }
    }
    return static_cast<int>(message.wParam);
}
