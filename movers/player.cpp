#include "movers/player.h"

#include "display/draw.h"
#include "game/game_record.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"

namespace {

constexpr uint32_t PlayerPixel = 0xFFFFFF; // all 24 low bits: white at every depth but 8

// One cell just beyond the square's edge: open and wall are free, a ball or an enemy is
// deadly, anything else only blocks.
bool CellIsFree(int32_t x, int32_t y) {
    uint8_t code = GetCell(x, y);
    if (code >= 1 && code <= CellEnemy) Game.PlayerHit = 1;
    return code == CellOpen || code == CellWall;
}

// All four cells are read even when an earlier one blocks, so a hit is never missed.
int32_t FourCellsFree(int32_t x, int32_t y, int32_t dx, int32_t dy) {
    bool free = true;
    for (int32_t i = 0; i < 4; ++i)
        if (!CellIsFree(x + dx * i, y + dy * i)) free = false;
    return free ? 1 : 0;
}

int32_t OppositeDir(int32_t dir) {
    switch (dir) {
    case DirLeft: return DirRight;
    case DirRight: return DirLeft;
    case DirUp: return DirDown;
    case DirDown: return DirUp;
    default: return 0;
    }
}

} // namespace

int32_t MayMoveUp() {
    if (Game.PlayerY < 47) return 0;
    return FourCellsFree(Game.PlayerX, Game.PlayerY - 1, 1, 0);
}

int32_t MayMoveDown() {
    if (Game.PlayerY > 295) return 0;
    return FourCellsFree(Game.PlayerX, Game.PlayerY + 4, 1, 0);
}

int32_t MayMoveLeft() {
    if (Game.PlayerX < 1) return 0;
    return FourCellsFree(Game.PlayerX - 1, Game.PlayerY, 0, 1);
}

int32_t MayMoveRight() {
    if (Game.PlayerX > 395) return 0;
    return FourCellsFree(Game.PlayerX + 4, Game.PlayerY, 0, 1);
}

int32_t MoveUp() {
    if (Game.PlayerY < 47 || MayMoveUp() == 0) return 0;
    --Game.PlayerY;
    return 1;
}

int32_t MoveDown() {
    if (Game.PlayerY > 295 || MayMoveDown() == 0) return 0;
    ++Game.PlayerY;
    return 1;
}

int32_t MoveLeft() {
    if (Game.PlayerX < 1 || MayMoveLeft() == 0) return 0;
    --Game.PlayerX;
    return 1;
}

int32_t MoveRight() {
    if (Game.PlayerX > 395 || MayMoveRight() == 0) return 0;
    ++Game.PlayerX;
    return 1;
}

void SteerPlayer() {
    // Looking around is not moving: a ball beside the square must not count as a hit.
    int32_t hit = Game.PlayerHit;
    uint32_t open = 0;
    if (MayMoveUp() != 0) open |= DirUp;
    if (MayMoveDown() != 0) open |= DirDown;
    if (MayMoveLeft() != 0) open |= DirLeft;
    if (MayMoveRight() != 0) open |= DirRight;
    Game.PlayerHit = hit;

    uint32_t current = static_cast<uint32_t>(Game.PlayerDir);
    open &= ~current;
    if (open == 0) return;
    open &= Game.HeldKeys;
    Game.HeldKeys &= ~current;
    static constexpr uint32_t Priority[4] = {DirLeft, DirRight, DirUp, DirDown};
    for (uint32_t bit : Priority) {
        if ((open & bit) == 0) continue;
        Game.PlayerDir = static_cast<int32_t>(bit);
        Game.HeldKeys &= ~bit;
        return;
    }
}

void RepaintPlayerCells() {
    for (int32_t row = 0; row < 4; ++row)
        for (int32_t column = 0; column < 4; ++column) {
            uint8_t code = static_cast<uint8_t>(Game.PlayerCells[row * 4 + column]);
            if (code == CellOpen) code = CellTrail;
            SetCell(Game.PlayerX + column, Game.PlayerY + row, code);
        }
    for (int32_t row = 0; row < 4; ++row)
        for (int32_t column = 0; column < 4; ++column) {
            uint8_t code = static_cast<uint8_t>(Game.PlayerCells[row * 4 + column]);
            int32_t x = Game.PlayerX + column;
            int32_t y = Game.PlayerY + row;
            if (code == CellOpen || code == CellTrail)
                DDFillRect(BackBuffer, ColourTable[2], x, y, 1, 1);
            else if (code == CellWall)
                DDFillRect(BackBuffer, ColourTable[0], x, y, 1, 1);
        }
}

void FinishPlayerStep() {
    Game.OnWall = 1;
    int32_t trailCells = 0;
    for (int32_t row = 0; row < 4; ++row)
        for (int32_t column = 0; column < 4; ++column) {
            int32_t code = static_cast<int8_t>(GetCell(Game.PlayerX + column, Game.PlayerY + row));
            Game.PlayerCells[row * 4 + column] = code;
            if (code != static_cast<int8_t>(CellWall)) Game.OnWall = 0;
            if (code == static_cast<int8_t>(CellTrail)) ++trailCells;
        }
    // Sixteen trail cells: the square could not move and sits on its own trail.
    if (trailCells == 16) Game.PlayerHit = 1;

    for (int32_t row = 0; row < 4; ++row)
        for (int32_t column = 0; column < 4; ++column)
            SetCell(Game.PlayerX + column, Game.PlayerY + row, CellPlayer);
    DDFillRect(BackBuffer, PlayerPixel, Game.PlayerX, Game.PlayerY, 4, 4);

    if (Game.OnWall == 1) {
        if (Game.TrailActive != 1) return;
        Game.TrailActive = 0;
        ClaimTerritory();
        Game.PlayerDir = 0;
        Game.LastKey = 0;
        Game.TrailStartSet = 0;
        return;
    }
    if (Game.TrailStartSet == 0) {
        Game.TrailStartX = Game.PlayerX;
        Game.TrailStartY = Game.PlayerY;
        Game.TrailStartSet = 1;
        if (Game.PlayerDir != 0) Game.TrailBackDir = OppositeDir(Game.PlayerDir);
    }
    Game.TrailActive = 1;
}

void PlayerStep() {
    RepaintPlayerCells();
    if (Game.HeldKeys != 0 && Game.HeldKeys != static_cast<uint32_t>(Game.PlayerDir)) SteerPlayer();
    if ((Game.PlayerDir & DirLeft) != 0)
        MoveLeft();
    else if ((Game.PlayerDir & DirRight) != 0)
        MoveRight();
    else if ((Game.PlayerDir & DirUp) != 0)
        MoveUp();
    else if ((Game.PlayerDir & DirDown) != 0)
        MoveDown();
    FinishPlayerStep();
}

void ShowWallCells() {
    for (int32_t y = 0; y < PlayfieldHeight; ++y)
        for (int32_t x = 0; x < PlayfieldWidth; ++x)
            if (GetCell(x, y) == CellWall) DDFillRect(BackBuffer, ColourTable[6], x, y, 1, 1);
    PresentFrame();
}
