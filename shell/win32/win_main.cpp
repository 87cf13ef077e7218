// Program entry of the Windows build and the message loop that drives the game: every
// waiting message first, a frame whenever the queue is empty, and in between a wait for
// the next message or the moment the next frame is due.
#include <windows.h>

#include <mmsystem.h>

#include <cstdio>
#include <cstdlib>

#include "display/directdraw/dd_display.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/frame_pacing.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/win32/win32_shell.h"

namespace {

std::FILE* FrameLog = nullptr; // QUORVANEL_FRAME_LOG: one line per presented frame

// Opens the frame log that measurements ask for; a name that cannot be opened is no concern
// of the game's.
void OpenFrameLog() {
    if (const char* path = std::getenv("QUORVANEL_FRAME_LOG")) FrameLog = std::fopen(path, "w");
}

// The wall-clock time in microseconds since 1970, then the frame's clock reading: the same
// line as the desktop build writes, so that one script reads both.
void LogFrame() {
    if (!FrameLog) return;
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks =
        (static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr unsigned long long TicksFrom1601To1970 = 116444736000000000ULL;
    std::fprintf(FrameLog, "%lld %u\n", static_cast<long long>((ticks - TicksFrom1601To1970) / 10),
                 static_cast<unsigned>(Game.LastFrameTime));
}

// Waits until a message arrives or the next frame is due, whichever comes first, but for the
// last millisecond before the frame, which is spun on the clock (frame_pacing.h); minimised,
// only a message ends the wait. Spinning rather than yielding the processor there keeps it
// from any busy process, which would run a time slice of its own first.
void WaitForNextFrame() {
    if (!Game.WindowActive) {
        MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        return;
    }
    if (Pacing.FramesToPoll > 0) return;
    const int32_t wait = FrameWaitMs(ReadMillisecondClock());
    if (wait > 0) {
        if (MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(wait), QS_ALLINPUT,
                                        MWMO_INPUTAVAILABLE) != WAIT_TIMEOUT)
            return;
        NoteFrameWake(ReadMillisecondClock());
    }
    while (FrameDueInMs(ReadMillisecondClock()) > 0) YieldProcessor();
}

// Until the quit message; returns its code.
int RunMessageLoop() {
    MSG message;
    for (;;) {
        if (PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0) return static_cast<int>(message.wParam);
            if (got < 0) return 0;
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        const uint32_t before = Game.LastFrameTime;
        const uint32_t framesBefore = Game.FrameCount;
        if (UpdateFrame(Game.WindowActive) < 0) {
            RebuildDisplay();
            ResetToTitle();
        } else if (Game.LastFrameTime != before || Game.FrameCount != framesBefore) {
            LogFrame();
            NotePacedFrameRan();
        }
        WaitForNextFrame();
    }
}

} // namespace

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
    OpenFrameLog();
    // Waits then end on the millisecond asked for, not on the system's default tick.
    timeBeginPeriod(1);
    const int code = RunMessageLoop();
    timeEndPeriod(1);
    if (FrameLog) std::fclose(FrameLog);
    return code;
}
