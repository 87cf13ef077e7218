// The page's test hooks: the game's state as the simulator dumps it, the loop's figures, and
// scripted runs that replay the simulator's key scripts from a fresh start on the
// simulator's clock (17 ms a frame from 0, a fixed current time, built-in settings kept in
// memory), so that the page and quorvanel-sim can be compared frame for frame.
#include <emscripten.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "display/software/art.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/game_state.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/web/web_shell.h"

namespace {

struct ScriptedRun {
    int32_t Pending = 0;
    int32_t Active = 0;
    Demo Script;
    int32_t Frames = 0;
    uint32_t TimeSeconds = 0;
    int32_t HasName = 0;
    std::string Name;
};

ScriptedRun Run;
std::string Answer; // the text the last hook returned, alive until the next call

} // namespace

int32_t ScriptedRunActive() {
    return Run.Active;
}

uint32_t ScriptedRunTime() {
    return Run.TimeSeconds;
}

int32_t ScriptWantsFrame() {
    return Demos.Frame < Run.Frames;
}

void StartScriptedRun() {
    if (!Run.Pending) return;
    Run.Pending = 0;
    Run.Active = 1;
    StopSound();
    ResetGameRecord();
    ResetDemoSession();
    ResetClaimColours();
    Web.Pacer = FramePacer{};
    Web.Pacer.Steady = 1; // the simulator's clock: 17 ms a frame, whatever the page's pace
    DetachSettingsStore(1);
    // The program's own start-up order, as the simulator follows it.
    AllocPlayfield();
    ReleaseSoftwareDisplay();
    if (!CreateSoftwareDisplay(32) || !LoadGameArt()) DebugOutput("Reinitialization failed.\n");
    ResetToTitle();
    Game.WindowActive = 1;
    Game.FpsStartTime = ReadMillisecondClock();
    LoadSettings();
    StartDemoPlayback(Run.Script);
}

int32_t AnswerScriptedNameDialog() {
    if (!Run.Active) return 0;
    if (Run.HasName) {
        std::size_t n = std::min<std::size_t>(Run.Name.size(), PlayerNameSize - 1);
        std::memcpy(Game.PlayerName, Run.Name.data(), n);
        Game.PlayerName[n] = '\0';
    }
    return 1;
}

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* WebStateJson() {
    Answer = GameStateJson();
    return Answer.c_str();
}

EMSCRIPTEN_KEEPALIVE const char* WebStatsJson() {
    char text[256];
    std::snprintf(text, sizeof text,
                  "{\"Callbacks\": %u, \"Frames\": %u, \"MostFramesInCallback\": %d, "
                  "\"FirstFrameTime\": %.1f, \"FrameMs\": %.1f, \"ModalOpen\": %d, "
                  "\"ScriptPending\": %d, \"Scripted\": %d}",
                  Web.Callbacks, Web.FramesRun, Web.MostFramesInCallback, Web.FirstFrameTime,
                  Web.FrameMs, Web.ModalOpen, Run.Pending, Run.Active);
    Answer = text;
    return Answer.c_str();
}

// Queues a run of the script text for the given number of frames; the loop starts it at its
// next turn. Returns "" or the script's first error. name is the name box's answer, or null
// for a box dismissed with Cancel.
EMSCRIPTEN_KEEPALIVE const char* WebPlayScript(const char* script, int32_t frames,
                                               uint32_t timeSeconds, const char* name) {
    Demo events;
    std::string error;
    if (frames < 0 || !ParseDemoText(script ? script : "", "script", 0, &events, &error)) {
        Answer = error.empty() ? "bad frame count" : error;
        return Answer.c_str();
    }
    Run.Script = std::move(events);
    Run.Frames = frames;
    Run.TimeSeconds = timeSeconds;
    Run.HasName = name != nullptr;
    Run.Name = name ? name : "";
    Run.Pending = 1;
    Answer.clear();
    return Answer.c_str();
}
}
