#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "game/life_cycle.h"
#include "movers/enemies.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

int32_t CountCells(uint8_t code) {
    int32_t n = 0;
    for (int32_t i = 0; i < PlayfieldCells; ++i) n += Playfield[i] == code;
    return n;
}

int32_t CountPixels(const Surface* s, uint32_t rgb, int32_t x0, int32_t y0, int32_t x1,
                    int32_t y1) {
    int32_t n = 0;
    for (int32_t y = y0; y <= y1; ++y)
        for (int32_t x = x0; x <= x1; ++x) n += PixelToRgb(s, ReadPixel(s, x, y)) == rgb;
    return n;
}

class LifeCycle : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld();
        DrawReferenceColours();
        Game.ColoursSampled = 1;
    }
    // A level as the new-game handler leaves it, with its pause already over.
    void StartPlaying(int32_t level = 1) {
        Game.Level = level;
        StartLevel();
        Game.GameState = StatePlay;
        Game.ResumeState = 0;
        Game.PauseFrames = 0;
    }
};

TEST_F(LifeCycle, BallCountIsLevelPlusOneCappedAtThirtyNine) {
    const int32_t levels[] = {1, 2, 37, 38, 39, 40, 500};
    const int32_t expected[] = {2, 3, 38, 39, 39, 39, 39};
    for (int32_t i = 0; i < 7; ++i) {
        Game.Level = levels[i];
        SetBallCount();
        EXPECT_EQ(Game.BallCount, expected[i]) << "level " << levels[i];
    }
}

TEST_F(LifeCycle, LevelStartSetsTheLevelUpAndPausesTwoSeconds) {
    Game.Level = 4;
    Game.Reversals = 0; // whatever the last level left
    Game.PercentComplete = 80;
    Game.EnemyCount = 7;
    Game.RespawnTime = 30;
    Game.LastKey = KeySpace;
    Game.GameState = StateNewGame;
    StartLevel();
    EXPECT_EQ(Game.Reversals, 5);
    EXPECT_EQ(Game.EnemySpawnTimer, 30 * 58);
    EXPECT_EQ(Game.PercentComplete, 0);
    EXPECT_EQ(Game.EnemyCount, 2);
    EXPECT_EQ(Game.BallCount, 5);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StatePlay);
    EXPECT_EQ(Game.PauseFrames, 116);
    EXPECT_EQ(Game.LastKey, 0);
}

TEST_F(LifeCycle, LevelStartWithoutRespawnLeavesTheTimerAtZero) {
    Game.RespawnFlag = 0;
    StartLevel();
    EXPECT_EQ(Game.EnemySpawnTimer, 0);
}

TEST_F(LifeCycle, LevelScreenBecomesTheGrid) {
    StartLevel();
    // The four-pixel frame is wall, the inside open, the player and the enemies stamped.
    for (int32_t x : {0, 3, 396, 399}) EXPECT_EQ(GetCell(x, 150), CellWall) << x;
    for (int32_t y : {46, 49}) EXPECT_EQ(GetCell(100, y), CellWall) << y;
    EXPECT_EQ(GetCell(4, 150), CellOpen);
    EXPECT_EQ(GetCell(395, 295), CellOpen);
    EXPECT_EQ(CountCells(CellPlayer), 16);
    for (int32_t dy = 0; dy < 4; ++dy)
        for (int32_t dx = 0; dx < 4; ++dx) EXPECT_EQ(GetCell(198 + dx, 296 + dy), CellPlayer);
    EXPECT_EQ(CountCells(CellEnemy), 8);
    EXPECT_EQ(GetCell(1, 171), CellEnemy);
    EXPECT_EQ(GetCell(398, 172), CellEnemy);
    // Balls enter the grid only with their first move.
    EXPECT_EQ(CountCells(CellBallFirst), 0);
    // The frame is drawn in blue, the status box in red.
    EXPECT_EQ(PixelToRgb(BackBuffer, ReadPixel(BackBuffer, 1, 150)), Rgb(0, 0, 255));
    EXPECT_GT(CountPixels(BackBuffer, Rgb(255, 0, 0), 113, 0, 117, 24), 20);
}

TEST_F(LifeCycle, NewGameResetsTheGameAndKeepsTheLevelPause) {
    Game.Lives = 0;
    Game.Level = 9;
    Game.Score = 4321;
    Game.NextBonusScore = 70000;
    Game.GameState = StateNewGame;
    StartNewGame();
    EXPECT_EQ(Game.Lives, 3);
    EXPECT_EQ(Game.Level, 1);
    EXPECT_EQ(Game.Score, 0);
    EXPECT_EQ(Game.NextBonusScore, 10000);
    EXPECT_EQ(Game.Reversals, 2);
    EXPECT_EQ(Game.BallCount, 2);
    EXPECT_EQ(Game.PauseFrames, 116);
    EXPECT_EQ(Game.ResumeState, StatePlay);
}

TEST_F(LifeCycle, ResetPlayerPutsThePlayerAtTheBottomMiddle) {
    StartPlaying();
    Game.PlayerX = 50;
    Game.PlayerY = 60;
    Game.PlayerDir = DirUp;
    Game.HeldKeys = DirLeft | DirDown;
    Game.LastKey = KeyUp;
    Game.TrailActive = Game.TrailStartSet = Game.PlayerHit = Game.TitleDrawn = 1;
    Game.OnWall = 0;
    ResetPlayer();
    EXPECT_EQ(Game.PlayerX, 198);
    EXPECT_EQ(Game.PlayerY, 296);
    EXPECT_EQ(Game.PlayerDir, 0);
    EXPECT_EQ(Game.HeldKeys, 0u);
    EXPECT_EQ(Game.LastKey, 0);
    EXPECT_EQ(Game.TrailActive + Game.TrailStartSet + Game.PlayerHit + Game.TitleDrawn, 0);
    EXPECT_EQ(Game.OnWall, 1);
    EXPECT_EQ(Game.Enemies[0].X, 1);
    EXPECT_EQ(Game.Enemies[1].X, 397);
}

TEST_F(LifeCycle, LosingALifeWithLivesLeftShowsTheBannerPause) {
    StartPlaying();
    Game.Lives = 2;
    Game.GameState = StateLifeLost;
    LoseLife();
    EXPECT_EQ(Game.Lives, 1);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StateReentry);
    EXPECT_EQ(Game.PauseFrames, 116);
}

TEST_F(LifeCycle, LosingTheLastLiveGoesStraightToGameOver) {
    StartPlaying();
    Game.Sounds = 1;
    Headless.SoundsPlayed.clear();
    Game.Lives = 1;
    Game.GameState = StateLifeLost;
    LoseLife();
    EXPECT_EQ(Game.Lives, 0);
    EXPECT_EQ(Game.GameState, StateGameOver);
    EXPECT_EQ(Game.ResumeState, 0);
    EXPECT_TRUE(Headless.SoundsPlayed.empty());
}

TEST_F(LifeCycle, ReentryClearsTheTraceOfTheLostLifeAndKeepsTheClaims) {
    StartPlaying(3);
    // A claimed patch, a trail off the bottom wall, and enemies away from their start.
    for (int32_t y = 100; y < 120; ++y)
        for (int32_t x = 10; x < 40; ++x) SetCell(x, y, CellClaimed);
    for (int32_t y = 250; y < 296; ++y)
        for (int32_t x = 198; x < 202; ++x) SetCell(x, y, CellTrail);
    Game.TrailActive = 1;
    UnstampEnemy(0); // enemy 0 has run down the left strip
    Game.Enemies[0].Y = 250;
    StampEnemy(0);
    Game.PercentComplete = 20;
    Game.Score = 777;
    Game.Reversals = 1;
    Game.Lives = 3;
    Game.GameState = StateLifeLost;
    LoseLife();
    Game.GameState = Game.ResumeState; // the pause is over
    Game.ResumeState = 0;
    ReenterAfterLifeLost();
    EXPECT_EQ(CountCells(CellTrail), 0);
    EXPECT_EQ(CountCells(CellClaimed), 20 * 30);
    EXPECT_EQ(Game.PercentComplete, 20);
    EXPECT_EQ(Game.Score, 777);
    EXPECT_EQ(Game.Reversals, 1);
    EXPECT_EQ(Game.Lives, 2);
    EXPECT_EQ(Game.Enemies[0].Y, 171);
    EXPECT_EQ(GetCell(1, 171), CellEnemy);
    EXPECT_EQ(CountCells(CellEnemy), 8);
    EXPECT_EQ(Game.PlayerX, 198);
    EXPECT_EQ(Game.PlayerY, 296);
    EXPECT_EQ(GetCell(198, 296), CellPlayer);
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StateResume);
    EXPECT_EQ(Game.PauseFrames, 58);
}

TEST_F(LifeCycle, ReentryMovesTheBallsTwoSteps) {
    StartPlaying(2);
    // The ring places the three balls well inside the open field.
    std::vector<BallRecord> before(Game.Balls, Game.Balls + 3);
    Game.GameState = StateReentry;
    ReenterAfterLifeLost();
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(Game.Balls[i].X, before[i].X + 2 * before[i].Dx) << i;
        EXPECT_EQ(Game.Balls[i].Y, before[i].Y + 2 * before[i].Dy) << i;
        EXPECT_EQ(GetCell(Game.Balls[i].X, Game.Balls[i].Y), CellBallFirst + i);
    }
}

TEST_F(LifeCycle, ResumeReturnsToPlay) {
    Game.GameState = StateResume;
    ResumePlay();
    EXPECT_EQ(Game.GameState, StatePlay);
}

TEST_F(LifeCycle, GameOverPausesFiveSecondsBeforeTheEnd) {
    StartPlaying();
    Game.Lives = 0;
    Game.LastKey = KeyLeft;
    Game.GameState = StateGameOver;
    GameOver();
    EXPECT_EQ(Game.GameState, StatePause);
    EXPECT_EQ(Game.ResumeState, StateGameEnded);
    EXPECT_EQ(Game.PauseFrames, 290);
    EXPECT_EQ(Game.LastKey, 0);
}

TEST_F(LifeCycle, EndGameEntersTheScoreAndReturnsToTheTitle) {
    Game.Score = 85000;
    Headless.NameDialogAnswers = 1;
    Headless.NameDialogText = "Wren";
    Game.ColoursSampled = 1;
    Game.OnWall = 0;
    Game.PlayerHit = 1;
    Game.TitleScrollY = 10;
    Game.GameState = StateGameEnded;
    EndGame();
    EXPECT_EQ(Headless.NameDialogs, 1);
    EXPECT_STREQ(Game.HighScoreTable[2].Name, "Wren");
    EXPECT_EQ(Game.HighScoreTable[2].Score, 85000);
    EXPECT_EQ(Game.HighScoreTable[3].Score, 80000);
    EXPECT_EQ(Game.GameState, StateTitle);
    EXPECT_EQ(Game.ColoursSampled, 0);
    EXPECT_EQ(Game.TitleDrawn, 0);
    EXPECT_EQ(Game.TitleScrollY, 200);
    EXPECT_EQ(Game.OnWall, 1);
    EXPECT_EQ(Game.PlayerHit, 0);
}

TEST_F(LifeCycle, EndGameWithALowScoreAsksNoName) {
    Game.Score = 9999;
    EndGame();
    EXPECT_EQ(Headless.NameDialogs, 0);
    EXPECT_EQ(Game.HighScoreTable[9].Score, 10000);
}

class Sounds : public LifeCycle {};

TEST_F(Sounds, PlayedOnlyWhenSwitchedOn) {
    Game.Sounds = 0;
    PlaySoundEffect(SoundLifeLost);
    EXPECT_TRUE(Headless.SoundsPlayed.empty());
    EXPECT_EQ(Headless.SoundStops, 0);
    Game.Sounds = 1;
    PlaySoundEffect(SoundGameOver);
    EXPECT_EQ(Headless.SoundsPlayed, std::vector<int32_t>{SoundGameOver});
    EXPECT_EQ(Headless.SoundStops, 1); // whatever played is stopped first
}

TEST_F(Sounds, EachEventHasItsSound) {
    Game.Sounds = 1;
    StartPlaying();
    Game.Lives = 2;
    LoseLife();
    Game.GameState = StateReentry;
    Game.ResumeState = 0;
    ReenterAfterLifeLost();
    Game.ResumeState = 0;
    GameOver();
    EXPECT_EQ(Headless.SoundsPlayed, (std::vector<int32_t>{SoundLevelStart, SoundLifeLost,
                                                           SoundLevelStart, SoundGameOver}));
}

class Title : public LifeCycle {};

TEST_F(Title, LogoArrivesAfterNinetySixFrames) {
    Game.ColoursSampled = 0;
    ResetToTitle();
    for (int32_t frame = 1; frame <= 95; ++frame) {
        TitleTick();
        ASSERT_EQ(Game.GameState, StateTitle) << frame;
        ASSERT_EQ(Game.TitleScrollY, 200 - 2 * frame);
    }
    EXPECT_EQ(Game.ColoursSampled, 1);
    EXPECT_EQ(Game.TitleDrawn, 1);
    TitleTick();
    EXPECT_EQ(Game.GameState, StateAttract);
    EXPECT_EQ(Game.TitleScrollY, 10);
    // The title page's frame has become wall, and all forty balls stand in the grid.
    EXPECT_EQ(GetCell(1, 150), CellWall);
    for (int32_t i = 0; i < BallTableSize; ++i)
        EXPECT_EQ(GetCell(Game.Balls[i].X, Game.Balls[i].Y), CellBallFirst + i) << i;
}

TEST_F(Title, BackgroundIsDrawnOncePerVisit) {
    ResetToTitle();
    TitleTick();
    DDFillRect(BackBuffer, 0, 0, 0, 8, 8); // a mark a second drawing would cover again
    TitleTick();
    EXPECT_EQ(ReadPixel(BackBuffer, 1, 1), 0u);
    Game.TitleDrawn = 0;
    TitleTick();
    EXPECT_EQ(PixelToRgb(BackBuffer, ReadPixel(BackBuffer, 1, 1)), Rgb(0, 0, 255));
}

} // namespace
