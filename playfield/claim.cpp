#include "playfield/claim.h"

#include "display/draw.h"
#include "display/status.h"
#include "game/game_record.h"
#include "movers/enemies.h"
#include "playfield/playfield.h"

int32_t FillStack[FillStackSize] = {};
int32_t FillStackTop = -1;

int32_t ColourBag[ColourBagSize] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
int32_t ColourBagRemaining = ColourBagSize;
int32_t ClaimColour = 1;

namespace {

constexpr int32_t ClaimScore = 25;
constexpr int32_t CellsPerPoint = 64;
// The reciprocal of the cell count of the swept rectangle, as the percentage has always used it.
constexpr double ScanRectReciprocal = 1.0301737903184267e-5;

// What one row scan carries from column to column.
struct RowScan {
    bool AboveRun;
    bool BelowRun;
    bool BallMet;
    uint8_t LastCell;
};

// One column of a row scan: neighbours first, then the cell itself.
void ScanColumn(RowScan& scan, int32_t c, int32_t y) {
    uint8_t above = GetCell(c, y - 1);
    if (scan.AboveRun && above != CellOpen) scan.AboveRun = false;
    if (!scan.AboveRun && above == CellOpen) {
        PushSeed(c, y - 1);
        scan.AboveRun = true;
    }
    uint8_t below = GetCell(c, y + 1);
    if (scan.BelowRun && below != CellOpen) scan.BelowRun = false;
    if (!scan.BelowRun && below == CellOpen) {
        PushSeed(c, y + 1);
        scan.BelowRun = true;
    }
    uint8_t cell = GetCell(c, y);
    scan.LastCell = cell;
    if (cell == CellOpen)
        SetCell(c, y, CellFillMark);
    else if (cell >= CellBallFirst && cell <= CellEnemy)
        scan.BallMet = true;
}

// Visits every cell of the swept rectangle, top row first.
template <typename Visit> void SweepScanRect(Visit visit) {
    for (int32_t y = ScanTop; y <= ScanBottom; ++y)
        for (int32_t x = ScanLeft; x <= ScanRight; ++x) visit(x, y);
}

} // namespace

void PushFillEntry(int32_t value) {
    if (FillStackTop >= FillStackSize - 1) return;
    FillStack[++FillStackTop] = value;
}

void PushSeed(int32_t x, int32_t y) {
    if (x < 0 || x > PlayfieldWidth - 1 || y < 46 || y > PlayfieldHeight - 1) return;
    PushFillEntry(x);
    PushFillEntry(y);
}

int32_t PopFillEntry() {
    if (FillStackTop < 0) return -1;
    return FillStack[FillStackTop--];
}

void ResetFillStack() {
    for (int32_t& entry : FillStack) entry = 0;
    FillStackTop = -1;
}

int32_t ScanFillLeft(int32_t x, int32_t y) {
    if (x <= 0) return 0;
    RowScan scan{false, false, false, CellOpen};
    for (int32_t c = x;;) {
        if (scan.BallMet || scan.LastCell != CellOpen) return scan.BallMet ? 1 : 0;
        ScanColumn(scan, c, y);
        --c;
        if (c <= 0) return scan.BallMet ? 1 : 0;
    }
}

int32_t ScanFillRight(int32_t x, int32_t y) {
    RowScan scan{GetCell(x - 1, y - 1) == CellOpen, GetCell(x - 1, y + 1) == CellOpen, false,
                 CellOpen};
    if (x >= PlayfieldWidth - 1) return 0;
    for (int32_t c = x; c <= PlayfieldWidth - 2; ++c) {
        if (scan.BallMet || scan.LastCell != CellOpen || y < 0 || y > PlayfieldHeight - 1) break;
        ScanColumn(scan, c, y);
    }
    return scan.BallMet ? 1 : 0;
}

int32_t FillRegion(int32_t x, int32_t y) {
    ResetFillStack();
    int32_t ballFound = 0;
    if (x >= 0) {
        while (y >= 0) {
            if (ballFound != 0) break;
            ballFound = ScanFillLeft(x, y);
            if (ballFound == 0) ballFound = ScanFillRight(x + 1, y);
            y = PopFillEntry();
            x = PopFillEntry();
            if (x < 0) break;
        }
    }
    if (ballFound != 0) {
        // Seeds still waiting are simply dropped with the stack.
        UndoFillMarks();
        ResetFillStack();
        return 1;
    }
    ClaimFillMarks();
    ResetFillStack();
    return 0;
}

int32_t SeedColumn(int32_t x, int32_t dir, int32_t side) {
    if ((dir & DirLeft) != 0) return x + 4;
    if ((dir & DirRight) != 0 || side == 1) return x - 1;
    return x + 4;
}

int32_t SeedRow(int32_t y, int32_t dir, int32_t side) {
    if ((dir & DirUp) != 0) return y + 4;
    if ((dir & DirDown) != 0 || side == 1) return y - 1;
    return y + 4;
}

void ClaimTerritory() {
    EraseAllEnemies();
    LiftAllEnemies();
    // Both sides of the trail's last step, then both sides of its first step.
    int32_t blocked = 0;
    for (int32_t side = 0; side <= 1; ++side)
        blocked += FillRegion(SeedColumn(Game.PlayerX, Game.PlayerDir, side),
                              SeedRow(Game.PlayerY, Game.PlayerDir, side));
    for (int32_t side = 0; side <= 1; ++side)
        blocked += FillRegion(SeedColumn(Game.TrailStartX, Game.TrailBackDir, side),
                              SeedRow(Game.TrailStartY, Game.TrailBackDir, side));
    if (blocked == 4) Game.Score += SplitBonus;
    ShowScore();
    SolidifyTrail();
    StampAllEnemies();
    DrawEnemies();
}

void ClaimFillMarks() {
    EraseAllEnemies();
    LiftAllEnemies();
    int32_t count = 0;
    uint32_t colour = ColourTable[ClaimColour & 15];
    SweepScanRect([&](int32_t x, int32_t y) {
        if (GetCell(x, y) != CellFillMark) return;
        SetCell(x, y, CellClaimed);
        DDFillRect(BackBuffer, colour, x, y, 1, 1);
        ++count;
    });
    Game.Score += count / CellsPerPoint + ClaimScore;
    ShowScore();
    if (count != 0) PickClaimColour();
}

void UndoFillMarks() {
    SweepScanRect([](int32_t x, int32_t y) {
        if (GetCell(x, y) == CellFillMark) SetCell(x, y, CellOpen);
    });
}

void SolidifyTrail() {
    int32_t covered = 0;
    SweepScanRect([&](int32_t x, int32_t y) {
        uint8_t cell = GetCell(x, y);
        if (cell == CellTrail) {
            SetCell(x, y, CellWall);
            DDFillRect(BackBuffer, ColourTable[0], x, y, 1, 1);
        }
        if (cell != CellOpen) ++covered;
    });
    Game.PercentComplete = static_cast<int32_t>(covered * ScanRectReciprocal * 100.0);
    ShowPercent();
}

void EraseTrail() {
    EraseAllEnemies();
    LiftAllEnemies();
    SweepScanRect([](int32_t x, int32_t y) {
        if (GetCell(x, y) != CellTrail) return;
        SetCell(x, y, CellOpen);
        DDFillRect(BackBuffer, 0, x, y, 1, 1);
    });
}

int32_t DrawFromColourBag() {
    int32_t n = ColourBagRemaining;
    int32_t i = 0;
    if (n > 0)
        i = RandomNumber() % n;
    else
        n = ColourBagSize;
    int32_t value = ColourBag[i];
    ColourBag[i] = ColourBag[n - 1];
    ColourBag[n - 1] = value;
    ColourBagRemaining = n - 1;
    return value;
}

void PickClaimColour() {
    int32_t previous = ClaimColour;
    do {
        ClaimColour = DrawFromColourBag();
    } while (ClaimColour == previous);
}
