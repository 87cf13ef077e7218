#include "game/frame_tick.h"

#include <cstdio>

#include "display/draw.h"
#include "display/status.h"
#include "game/game_record.h"
#include "game/level_tally.h"
#include "game/life_cycle.h"
#include "movers/balls.h"
#include "movers/enemies.h"
#include "movers/play_step.h"
#include "shell/platform.h"

void ClearLastKey() {
    Game.LastKey = 0;
}

int32_t ResetToTitle() {
    ClearLastKey();
    Game.TitleScrollY = 200;
    Game.GameState = StateTitle;
    Game.ReversalTimer = 0;
    Game.TitleDrawn = 0;
    Game.PauseFrames = 0;
    Game.ResumeState = 0;
    return 1;
}

void StartPause(int32_t seconds) {
    ClearLastKey();
    // A pause already pending keeps its length: the level start asks twice.
    if (Game.ResumeState != 0) return;
    Game.ResumeState = Game.GameState;
    Game.GameState = StatePause;
    Game.PauseFrames = seconds * FramesPerSecondOfGame;
}

void PauseTick() {
    SpareBallsStep();
    --Game.PauseFrames;
    if (Game.PauseFrames > 0 && Game.LastKey != KeySpace) return;
    ClearLastKey();
    Game.GameState = Game.ResumeState;
    RestoreStaticScreen();
    Game.ResumeState = 0;
}

static void HandleSpaceBar() {
    if (Game.LastKey != KeySpace) return;
    if (Game.GameState == StateAttract) {
        Game.GameState = StateNewGame;
        ClearLastKey();
    } else if (Game.GameState == StatePlay && Game.ReversalTimer < 1 && Game.Reversals > 0) {
        // LastKey stays 32: a bar held down reverses again once the timer has run out.
        Reverse();
        --Game.Reversals;
        ShowReversals();
    }
}

void GameTick() {
    HandleSpaceBar();
    if (Game.ReversalTimer > 0) --Game.ReversalTimer;

    switch (Game.GameState) {
    case StateTitle: TitleTick(); break;
    case StateAttract: AttractTick(); break;
    case StateNewGame: StartNewGame(); break;
    case StatePlay: PlayFrameStep(); break;
    case StateLifeLost: LoseLife(); break;
    case StateReentry: ReenterAfterLifeLost(); break;
    case StateLevelComplete: LevelTally(); break;
    case StateResume: ResumePlay(); break;
    case StateTallyShown: AwaitNextLevel(); break;
    case StateGameOver: GameOver(); break;
    case StateGameEnded: EndGame(); break;
    case StatePause: PauseTick(); break;
    default: break;
    }

    // Both rules act on the state as the handler left it.
    if (Game.PlayerHit != 0) {
        Game.GameState = StateLifeLost;
        Game.PlayerHit = 0;
    }
    if (Game.PercentComplete >= LevelGoalPercent && Game.GameState == StatePlay)
        Game.GameState = StateLevelComplete;
}

int32_t UpdateFrame(int32_t active) {
    uint32_t now = ReadMillisecondClock();
    // Unsigned difference: the clock's wrap-around after 49 days is harmless.
    if (active == 0 || now - Game.LastFrameTime < static_cast<uint32_t>(FrameIntervalMs)) return 1;
    Game.LastFrameTime = now;
    ++Game.FrameCount;
    uint32_t elapsed = now - Game.FpsStartTime;

    GameTick();

    if (elapsed > RateIntervalMs) {
        Game.FramesPerSecond = Game.FrameCount * 1000u / elapsed;
        Game.FpsStartTime = ReadMillisecondClock();
        Game.FrameCount = 0;
    }
    if (Game.ShowFps != 0) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(Game.FramesPerSecond));
        DrawTextCentred(BackBuffer, text, Rgb(0, 0, 0), ColourTable[3], 200, 150);
    }
    if (PresentFrame() < 0) {
        DebugOutput("UpdateFrame: Couldn't flip.\n");
        return FrameNotPresented;
    }
    return 1;
}
