// Program entry and the frame loop of the browser build. The loop waits for each animation
// callback of the page, handles the events that came meanwhile, then runs the frames due.
// A modal box runs its own loop of the same kind from inside a key handler or a frame; the
// waits yield to the page through asyncify, so the game code stays as it is.
#include <emscripten.h>

#include "display/draw.h"
#include "display/software/art.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/keys.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/web/web_shell.h"

WebShell Web;

// clang-format off
EM_ASYNC_JS(double, NextAnimationFrame, (), {
    return await new Promise(function(resolve) { requestAnimationFrame(resolve); });
});
// clang-format on

double WaitForAnimationFrame() {
    return NextAnimationFrame();
}

namespace {

int32_t InitDisplay() {
    return CreateSoftwareDisplay(32) && LoadGameArt();
}

// A frame that could not be presented means a broken display: make it anew, as the desktop
// build does; the game then restarts at the title.
void RebuildDisplay() {
    ReleaseSoftwareDisplay();
    if (!Playfield) AllocPlayfield();
    if (!InitDisplay()) DebugOutput("Reinitialization failed.\n");
}

int32_t OnPicture(const WebEvent& e) {
    return e.X >= 0 && e.Y >= 0 && e.X < ScreenWidth && e.Y < ScreenHeight;
}

void HandleEvent(const WebEvent& e) {
    // A scripted run must see nothing but its script.
    if (ScriptedRunActive()) return;
    switch (e.Kind) {
    case WebEventKind::KeyDown:
        if (!e.VirtualKey) break;
        HandleKeyDown(e.VirtualKey);
        // The wall view is shown at once.
        if (e.VirtualKey == VkF2) ShowPicture();
        break;
    case WebEventKind::KeyUp:
        if (e.VirtualKey) HandleKeyUp(e.VirtualKey);
        break;
    case WebEventKind::MouseDown:
        if (e.Button == 2 && OnPicture(e)) {
            int32_t command = RunContextMenu(e.X, e.Y);
            if (command) HandleMenuCommand(command);
        }
        break;
    default: break;
    }
}

void RunFrames(double now) {
    if (Web.ModalRan) {
        // The game stood still while the box was up; no backlog to catch up on.
        RestartPacer(&Web.Pacer);
        Web.ModalRan = 0;
        now = PageTime();
    }
    int32_t due = FramesDue(&Web.Pacer, now);
    int32_t ran = 0;
    const double started = PageTime();
    for (int32_t i = 0; i < due && !Web.ModalRan; ++i) {
        AdvanceFrameClock(&Web.Pacer);
        if (ScriptedRunActive()) {
            if (!ScriptWantsFrame() || !PlayDemoFrame()) break;
        } else {
            uint32_t before = Game.LastFrameTime;
            if (UpdateFrame(Game.WindowActive) < 0) {
                RebuildDisplay();
                ResetToTitle();
            }
            NoteFrameRan(Game.LastFrameTime != before);
        }
        ++ran;
    }
    if (!ran) return;
    Web.FramesRun += static_cast<uint32_t>(ran);
    if (ran > Web.MostFramesInCallback) Web.MostFramesInCallback = ran;
    ShowPicture();
    const double shown = PageTime();
    if (!Web.ModalRan) Web.FrameMs += shown - started; // a box's time is the player's
    if (Web.FirstFrameTime < 0) Web.FirstFrameTime = shown;
}

} // namespace

int main() {
    if (!AllocPlayfield()) return 0;
    if (!InitDisplay()) {
        ShowStopMessageBox("DirectDraw Init FAILED", "ERROR");
        ReleaseSoftwareDisplay();
        return 0;
    }
    LoadSounds();
    InstallPageHandlers();
    ResetToTitle();
    // A hidden page gets no animation callbacks, so no frame runs while it is hidden.
    Game.WindowActive = 1;
    Game.FpsStartTime = ReadMillisecondClock();
    LoadSettings();
    for (;;) {
        double now = WaitForAnimationFrame();
        ++Web.Callbacks;
        WebEvent e;
        while (NextEvent(&e)) HandleEvent(e);
        StartScriptedRun();
        RunFrames(now);
    }
}
