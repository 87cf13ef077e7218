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

// The rectangle that holds every fill mark of the fill in progress, so that the sweeps that
// claim or give back the marks visit only the rows and columns the fill has reached.
// Nothing outside it holds a mark, so the narrower sweep changes exactly the same cells in
// the same order. Outside a fill it is the whole swept rectangle.
struct MarkBounds {
    int32_t Left, Top, Right, Bottom; // empty while Left > Right
};
constexpr MarkBounds NoMarks = {1, 1, 0, 0};
constexpr MarkBounds AnyMarks = {ScanLeft, ScanTop, ScanRight, ScanBottom};
MarkBounds Marks = AnyMarks;

void NoteMark(int32_t x, int32_t y) {
    if (Marks.Left > Marks.Right) {
        Marks = {x, y, x, y};
        return;
    }
    if (x < Marks.Left) Marks.Left = x;
    if (x > Marks.Right) Marks.Right = x;
    if (y < Marks.Top) Marks.Top = y;
    if (y > Marks.Bottom) Marks.Bottom = y;
}

// A run of neighbouring cells of one row waiting to be painted in one colour: painting a
// row's run with one fill gives the same pixels as one 1x1 fill per cell, at a fraction of
// the blitter requests.
struct PaintRun {
    uint32_t Colour;
    int32_t X, Y, Length;
};

void FlushRun(PaintRun& run) {
    if (run.Length > 0) DDFillRect(BackBuffer, run.Colour, run.X, run.Y, run.Length, 1);
    run.Length = 0;
}

void PaintCell(PaintRun& run, int32_t x, int32_t y) {
    if (run.Length > 0 && run.Y == y && run.X + run.Length == x) {
        ++run.Length;
        return;
    }
    FlushRun(run);
    run.X = x;
    run.Y = y;
    run.Length = 1;
}

// One row scan from column x, a column at a time in the direction of step, up to the limit
// column (not visited). Each column's neighbours are read before the column itself: a run of
// open cells above or below the row gets one seed, at the first column of the run, and an
// open cell is marked. The scan stops after the first column whose own cell is not open,
// and reports whether that was a ball (or an enemy, which a claim has lifted off the grid).
// Rows reads and marks the cells: through the range-tested accessors near the grid's
// edges, straight in the three rows elsewhere.
template <typename Rows>
int32_t ScanRow(const Rows& rows, int32_t x, int32_t y, int32_t step, int32_t limit, bool aboveRun,
                bool belowRun) {
    int32_t c = x;
    int32_t result = 0;
    for (; c != limit; c += step) {
        const bool aboveOpen = rows.Above(c) == CellOpen;
        if (aboveOpen && !aboveRun) PushSeed(c, y - 1);
        aboveRun = aboveOpen;
        const bool belowOpen = rows.Below(c) == CellOpen;
        if (belowOpen && !belowRun) PushSeed(c, y + 1);
        belowRun = belowOpen;
        const uint8_t code = rows.Here(c);
        if (code != CellOpen) {
            result = code >= CellBallFirst && code <= CellEnemy ? 1 : 0;
            break;
        }
        rows.Mark(c);
    }
    // The columns marked run from x up to the one before c.
    if (c != x) {
        NoteMark(x, y);
        NoteMark(c - step, y);
    }
    return result;
}

struct CheckedRows {
    int32_t Y;
    uint8_t Above(int32_t c) const { return GetCell(c, Y - 1); }
    uint8_t Here(int32_t c) const { return GetCell(c, Y); }
    uint8_t Below(int32_t c) const { return GetCell(c, Y + 1); }
    void Mark(int32_t c) const { SetCell(c, Y, CellFillMark); }
};

struct DirectRows {
    uint8_t* Row; // row Y of the grid
    uint8_t Above(int32_t c) const { return Row[c - PlayfieldWidth]; }
    uint8_t Here(int32_t c) const { return Row[c]; }
    uint8_t Below(int32_t c) const { return Row[c + PlayfieldWidth]; }
    void Mark(int32_t c) const { Row[c] = CellFillMark; }
};

int32_t ScanRow(int32_t x, int32_t y, int32_t step, int32_t limit, bool aboveRun, bool belowRun) {
    // Every column the scan can reach lies between x and the limit, so one test tells
    // whether all its cells lie inside the grid.
    const int32_t last = limit - step;
    const bool inside = y >= 1 && y <= PlayfieldHeight - 2 && x >= 0 && x < PlayfieldWidth &&
                        last >= 0 && last < PlayfieldWidth;
    if (!inside) return ScanRow(CheckedRows{y}, x, y, step, limit, aboveRun, belowRun);
    return ScanRow(DirectRows{Playfield + y * PlayfieldWidth}, x, y, step, limit, aboveRun,
                   belowRun);
}

// Visits the cells of a part of the swept rectangle, top row first, each row from the left,
// handing the visitor the cell itself: the swept rectangle lies inside the grid, so no cell
// needs the accessors' range test.
template <typename Visit>
void SweepCells(int32_t left, int32_t top, int32_t right, int32_t bottom, Visit visit) {
    for (int32_t y = top; y <= bottom; ++y) {
        uint8_t* row = Playfield + y * PlayfieldWidth;
        for (int32_t x = left; x <= right; ++x) visit(x, y, row[x]);
    }
}

template <typename Visit> void SweepScanRect(Visit visit) {
    SweepCells(ScanLeft, ScanTop, ScanRight, ScanBottom, visit);
}

// The same sweep over the part of the swept rectangle where the fill has left marks.
template <typename Visit> void SweepFillMarks(Visit visit) {
    const int32_t top = Marks.Top > ScanTop ? Marks.Top : ScanTop;
    const int32_t bottom = Marks.Bottom < ScanBottom ? Marks.Bottom : ScanBottom;
    const int32_t left = Marks.Left > ScanLeft ? Marks.Left : ScanLeft;
    const int32_t right = Marks.Right < ScanRight ? Marks.Right : ScanRight;
    SweepCells(left, top, right, bottom, visit);
    Marks = AnyMarks;
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

// Leftwards from x down to column 1; column 0 is never visited.
int32_t ScanFillLeft(int32_t x, int32_t y) {
    if (x <= 0) return 0;
    return ScanRow(x, y, -1, 0, false, false);
}

// Rightwards from x up to column 398. The column before x, where the left scan began, has
// already had its neighbours seeded.
int32_t ScanFillRight(int32_t x, int32_t y) {
    const bool aboveRun = GetCell(x - 1, y - 1) == CellOpen;
    const bool belowRun = GetCell(x - 1, y + 1) == CellOpen;
    if (x >= PlayfieldWidth - 1 || y < 0 || y > PlayfieldHeight - 1) return 0;
    return ScanRow(x, y, 1, PlayfieldWidth - 1, aboveRun, belowRun);
}

int32_t FillRegion(int32_t x, int32_t y) {
    ResetFillStack();
    Marks = NoMarks;
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
    PaintRun run{ColourTable[ClaimColour & 15], 0, 0, 0};
    SweepFillMarks([&](int32_t x, int32_t y, uint8_t& cell) {
        if (cell != CellFillMark) return;
        cell = CellClaimed;
        PaintCell(run, x, y);
        ++count;
    });
    FlushRun(run);
    Game.Score += count / CellsPerPoint + ClaimScore;
    ShowScore();
    if (count != 0) PickClaimColour();
}

void UndoFillMarks() {
    SweepFillMarks([](int32_t, int32_t, uint8_t& cell) {
        if (cell == CellFillMark) cell = CellOpen;
    });
}

void SolidifyTrail() {
    int32_t covered = 0;
    PaintRun run{ColourTable[0], 0, 0, 0};
    SweepScanRect([&](int32_t x, int32_t y, uint8_t& cell) {
        if (cell == CellTrail) {
            cell = CellWall;
            PaintCell(run, x, y);
        }
        if (cell != CellOpen) ++covered;
    });
    FlushRun(run);
    Game.PercentComplete = static_cast<int32_t>(covered * ScanRectReciprocal * 100.0);
    ShowPercent();
}

void EraseTrail() {
    EraseAllEnemies();
    LiftAllEnemies();
    PaintRun run{0, 0, 0, 0};
    SweepScanRect([&](int32_t x, int32_t y, uint8_t& cell) {
        if (cell != CellTrail) return;
        cell = CellOpen;
        PaintCell(run, x, y);
    });
    FlushRun(run);
}

void ResetClaimColours() {
    for (int32_t i = 0; i < ColourBagSize; ++i) ColourBag[i] = i + 1;
    ColourBagRemaining = ColourBagSize;
    ClaimColour = 1;
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
