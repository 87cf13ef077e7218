#include "game/life_cycle.h"

#include "display/draw.h"
#include "display/status.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "movers/balls.h"
#include "movers/enemies.h"
#include "movers/player.h"
#include "playfield/claim.h"
#include "shell/demo.h"
#include "shell/platform.h"
#include "shell/settings.h"

namespace {

constexpr uint32_t FrameBlue = Rgb(0, 0, 255);
constexpr uint32_t StatusBoxRed = Rgb(255, 0, 0);

constexpr int32_t TitleLogoX = 48;
constexpr int32_t TitleLogoStartY = 200;
constexpr int32_t TitleLogoRestY = 10;
constexpr int32_t TitleScrollStep = 2;

constexpr int32_t PlayerStartX = 198;
constexpr int32_t PlayerStartY = 296;

constexpr int32_t LevelStartPauseSeconds = 2;
constexpr int32_t LifeLostPauseSeconds = 2;
constexpr int32_t ReentryPauseSeconds = 1;
constexpr int32_t GameOverPauseSeconds = 5;

void DrawLetsGoBanner() {
    DrawArt(BackBuffer, LetsGoSurface, 87, 106, 1);
}

} // namespace

void TitleTick() {
    int32_t logoY = Game.TitleScrollY;
    if (Game.ColoursSampled == 0) {
        DrawReferenceColours();
        Game.ColoursSampled = 1;
    }
    if (Game.TitleDrawn == 0) DrawTitleBackground();

    Game.TitleScrollY -= TitleScrollStep;
    if (Game.TitleScrollY < TitleLogoRestY) {
        Game.TitleScrollY = TitleLogoRestY;
        logoY = TitleLogoRestY;
        DrawArt(BackBuffer, TitleSurface, TitleLogoX, TitleLogoRestY, 0);
        // Everything on the finished title page becomes wall, so the attract balls
        // bounce off the logo and the texts.
        GrabPlayfieldFromScreen();
        ClearBalls();
        PlaceTitleBalls();
        DrawBalls(BackBuffer);
        Game.GameState = StateAttract;
    }
    // The title state shows BackBuffer2, so the logo is seen climbing on black while the
    // page itself waits on BackBuffer.
    DrawArt(BackBuffer2, TitleSurface, TitleLogoX, logoY, 0);
}

void DrawTitleBackground() {
    Game.TitleDrawn = 1;
    ClearAllSurfaces();
    DrawRectangle(BackBuffer, FrameBlue, 0, 0, ScreenWidth, ScreenHeight, 8);
    DrawTitlePage();
    Game.TitleScrollY = TitleLogoStartY;
}

void AttractTick() {
    BallsStep();
}

void StartNewGame() {
    Game.Lives = 3;
    Game.Level = 1;
    Game.Score = 0;
    Game.NextBonusScore = 10000;
    StartLevel();
    // StartLevel has already begun its pause; this only consumes the key.
    StartPause(LevelStartPauseSeconds);
}

void StartLevel() {
    Game.Reversals = Game.Level + 1;
    Game.EnemySpawnTimer = Game.RespawnFlag == 1 ? Game.RespawnTime * FramesPerSecondOfGame : 0;
    Game.PercentComplete = 0;
    DrawLevelScreen();
    SetBallCount();
    PlaceBallsForLevel();
    Game.GameState = StatePlay;
    DrawBalls(BackBuffer);
    ResetPlayer();
    FinishPlayerStep();
    SaveStaticScreen();
    DrawLetsGoBanner();
    PlaySoundEffect(SoundLevelStart);
    StartPause(LevelStartPauseSeconds);
}

void DrawLevelScreen() {
    ClearLastKey();
    ClearAllSurfaces();
    DrawRectangle(BackBuffer, FrameBlue, 2, 48, 397, 251, 4);
    DrawRectangle(BackBuffer, StatusBoxRed, 115, 2, 170, 20, 4);
    ShowLives();
    ShowReversals();
    ShowLevel();
    ShowPercent();
    ShowEnemies();
    ShowScore();
    // The frame, the box and the status texts become wall; the black inside is open space.
    GrabPlayfieldFromScreen();
    Game.EnemyCount = 2;
}

void SetBallCount() {
    Game.BallCount = Game.Level + 1;
    // Ball 39 always stays spare, so the status box is never empty.
    if (Game.BallCount >= BallTableSize) Game.BallCount = MaxBallsInPlay;
}

void ResetPlayer() {
    Game.PlayerX = PlayerStartX;
    Game.PlayerY = PlayerStartY;
    Game.LastKey = 0;
    Game.PlayerDir = 0;
    Game.HeldKeys = 0;
    Game.TitleDrawn = 0;
    Game.TrailActive = 0;
    Game.OnWall = 1;
    Game.PlayerHit = 0;
    Game.TrailStartSet = 0;
    PlaceEnemies();
}

void LoseLife() {
    --Game.Lives;
    ShowLives();
    if (Game.Lives < 1) {
        Game.GameState = StateGameOver;
        return;
    }
    Game.GameState = StateReentry;
    // The saved screen keeps the board as it was at the moment of the hit.
    SaveStaticScreen();
    DrawArt(BackBuffer, OhNoSurface, 98, 156, 1);
    PlaySoundEffect(SoundLifeLost);
    StartPause(LifeLostPauseSeconds);
}

void ReenterAfterLifeLost() {
    EraseBalls(BackBuffer);
    RepaintPlayerCells();
    EraseAllEnemies();
    LiftAllEnemies();
    EraseTrail();
    // The balls come back two steps on, so a ball that caused the hit has moved away.
    MoveAllBalls();
    MoveAllBalls();
    Game.PlayerHit = 0;
    ResetPlayer();
    FinishPlayerStep();
    SaveStaticScreen();
    DrawLetsGoBanner();
    PlaySoundEffect(SoundLevelStart);
    Game.GameState = StateResume;
    StartPause(ReentryPauseSeconds);
}

void ResumePlay() {
    Game.GameState = StatePlay;
}

void GameOver() {
    DrawArt(BackBuffer, GameOverSurface, 50, 150, 1);
    PlaySoundEffect(SoundGameOver);
    ClearLastKey();
    Game.GameState = StateGameEnded;
    // No screen is saved: the end of the pause brings back the last level screen.
    StartPause(GameOverPauseSeconds);
}

void EndGame() {
    InsertHighScore();
    ClearAllSurfaces();
    Game.TitleDrawn = 0;
    Game.OnWall = 1;
    Game.TitleScrollY = TitleLogoStartY;
    Game.ColoursSampled = 0;
    Game.PlayerHit = 0;
    Game.GameState = StateTitle;
}

void PlaySoundEffect(int32_t resourceId) {
    if (Game.Sounds != 1) return;
    StopSound();
    PlaySoundResource(resourceId);
    NoteSoundStarted(resourceId); // the replays compare the sounds too
}
