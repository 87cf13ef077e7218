#include "tests/support/board.h"

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "movers/balls.h"
#include "movers/enemies.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"

void FillCellRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t code) {
    for (int32_t y = y0; y <= y1; ++y)
        for (int32_t x = x0; x <= x1; ++x) SetCell(x, y, code);
}

int32_t CountCellCodes(uint8_t code, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    int32_t n = 0;
    for (int32_t y = y0; y <= y1; ++y)
        for (int32_t x = x0; x <= x1; ++x) n += GetCell(x, y) == code;
    return n;
}

// Pixels of BackBuffer that hold the raw value.
int32_t CountPixelsIn(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t value) {
    int32_t n = 0;
    for (int32_t y = y0; y <= y1; ++y)
        for (int32_t x = x0; x <= x1; ++x) n += ReadPixel(BackBuffer, x, y) == value;
    return n;
}

void StampBallAt(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy) {
    Game.Balls[i] = BallRecord{x, y, dx, dy, 0, Game.Balls[i].Colour};
    StampBall(i);
}

void StampEnemyAt(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy) {
    Game.Enemies[i] = EnemyRecord{x, y, dx, dy, 0, {}};
    StampEnemy(i);
}

void ParkSpareBalls(int32_t first) {
    FillCellRect(0, 38, PlayfieldWidth - 1, 43, CellWall); // below the status texts
    for (int32_t i = first; i < BallTableSize; ++i) StampBallAt(i, 4 + 9 * i, 40, 1, 1);
}

void ResetClaimState() {
    ResetFillStack();
    for (int32_t i = 0; i < ColourBagSize; ++i) ColourBag[i] = i + 1;
    ColourBagRemaining = ColourBagSize;
    ClaimColour = 1;
    for (uint32_t i = 0; i < 16; ++i) ColourTable[i] = 0x10000 + i;
}
