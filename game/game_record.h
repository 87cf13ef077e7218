// The whole state of the game: one record of plain fields, read and written in place by
// every subsystem on the one thread that runs the loop, plus the game's random generator.
#pragma once
#include <cstdint>

// GameState codes.
constexpr int32_t StateTitle = 0;
constexpr int32_t StateAttract = 1;
constexpr int32_t StateNewGame = 2;
constexpr int32_t StatePlay = 3;
constexpr int32_t StateLifeLost = 4;
constexpr int32_t StateReentry = 5;
constexpr int32_t StateLevelComplete = 6;
constexpr int32_t StateResume = 7;
constexpr int32_t StateTallyShown = 8;
constexpr int32_t StateGameOver = 9;
constexpr int32_t StateGameEnded = 10;
constexpr int32_t StatePause = 11;
constexpr int32_t StateStartup = 80;

// Direction bits shared by HeldKeys and PlayerDir.
constexpr int32_t DirLeft = 1;
constexpr int32_t DirRight = 2;
constexpr int32_t DirUp = 4;
constexpr int32_t DirDown = 8;

// LastKey values of the cursor keys (any other key is its virtual-key code).
constexpr int32_t KeyUp = 1;
constexpr int32_t KeyDown = 2;
constexpr int32_t KeyLeft = 3;
constexpr int32_t KeyRight = 4;
constexpr int32_t KeySpace = 32;

constexpr int32_t BallTableSize = 40;
constexpr int32_t MaxBallsInPlay = 39;
constexpr int32_t EnemyTableSize = 20;
constexpr int32_t HighScoreEntries = 10;
constexpr int32_t HighScoreNameSize = 50;
constexpr int32_t PlayerNameSize = 48; // 47 characters and the terminating zero
constexpr int32_t FramesPerSecondOfGame = 58;

struct BallRecord {
    int32_t X;
    int32_t Y;
    int8_t Dx;
    int8_t Dy;
    uint8_t Moved;
    uint32_t Colour; // raw pixel value, an entry of ColourTable
};

struct EnemyRecord {
    int32_t X;
    int32_t Y;
    int8_t Dx;
    int8_t Dy;
    uint8_t Moved;
    uint8_t Under[4]; // cells (X,Y), (X+1,Y), (X,Y+1), (X+1,Y+1) before the stamp
};

struct HighScoreEntry {
    char Name[HighScoreNameSize];
    int32_t Score;
};

struct GameRecord {
    // Game flow.
    int32_t GameState = StateStartup;
    int32_t ResumeState = 0;
    int32_t PauseFrames = 0;
    int32_t Lives = 3;
    int32_t Level = 1;
    int32_t Reversals = 4;
    int32_t ReversalTimer = 0;
    int32_t Score = 0;
    int32_t NextBonusScore = 10000;
    int32_t PercentComplete = 0;
    int32_t BallCount = 0;
    int32_t EnemyCount = 2;
    int32_t EnemySpawnTimer = 870;
    int32_t EnemySpawnSeconds = 15;
    int32_t PlayerHit = 0;
    int32_t PlayerX = 0;
    int32_t PlayerY = 0;
    int32_t TitleScrollY = 390;
    int32_t TitleDrawn = 0;
    int32_t ColoursSampled = 0;

    // Input, written by the key handling.
    int32_t LastKey = 0;
    uint32_t HeldKeys = 0;
    uint32_t ShowFps = 0; // all bits flip on F5

    // Shell and timing.
    int32_t WindowActive = 0;
    void* AppInstance = nullptr;
    void* MainWindow = nullptr;
    uint32_t LastFrameTime = 0;
    uint32_t FrameCount = 0;
    uint32_t FpsStartTime = 0;
    uint32_t FramesPerSecond = 0;

    // Settings, under the names they are stored by.
    int32_t PlayerSpeed = 0;
    int32_t EnemySpeed = 0;
    int32_t BallSpeed = 0;
    int32_t BonusLife = 0; // 0 every level, 1 every 10,000 points, 2 never
    int32_t Sounds = 0;
    int32_t RandomGame = 0;
    int32_t RespawnFlag = 1;
    int32_t RespawnTime = 15;
    char PlayerName[PlayerNameSize] = "";

    // Player and trail.
    int32_t PlayerDir = 0;
    int32_t OnWall = 1;
    int32_t TrailActive = 0;
    int32_t TrailStartSet = 0;
    int32_t TrailStartX = 0;
    int32_t TrailStartY = 0;
    int32_t TrailBackDir = 0;
    int32_t PlayerCells[16] = {};

    // Movers and the table of best scores.
    BallRecord Balls[BallTableSize] = {};
    EnemyRecord Enemies[EnemyTableSize] = {};
    HighScoreEntry HighScoreTable[HighScoreEntries] = {
        {"Marlowe", 100000}, {"Tessaly", 90000}, {"Ingrid", 80000}, {"Oswin", 70000},
        {"Rhiannon", 60000}, {"Caspar", 50000},  {"Linnea", 40000}, {"Dorian", 30000},
        {"Yusuf", 20000},    {"Petra", 10000},
    };
};

extern GameRecord Game;

// The runtime's classic linear congruential generator, kept here so that a game can be
// replayed exactly: state = state * 214013 + 2531011, result (state >> 16) & 32767.
extern uint32_t RandomState;
void SeedRandom(uint32_t seed);
int32_t RandomNumber();

// Puts the record and the generator back to their values at program start (tests, simulator).
void ResetGameRecord();
