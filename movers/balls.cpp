#include "movers/balls.h"

#include "display/draw.h"
#include "game/game_record.h"
#include "movers/ring_trig.h"
#include "playfield/playfield.h"
#include "shell/platform.h"

namespace {

// ColourTable entry for ball i, chosen by i mod 8, so neighbouring balls differ.
constexpr int32_t TitleBallColours[8] = {6, 1, 5, 3, 2, 0, 7, 4};

// Degrees to radians with the short constant the ring has always used; the full value of
// pi/180 would move some balls by a cell.
constexpr double DegreesToRadians = 0.01745329;

bool IsBallIndex(int32_t ball) {
    return ball >= 0 && ball < BallTableSize;
}

// First spare ball: the balls in play come before it.
int32_t FirstSpareBall() {
    if (Game.BallCount < 0) return 0;
    return Game.BallCount;
}

int32_t BallsInPlay() {
    if (Game.BallCount < 0) return 0;
    if (Game.BallCount > BallTableSize) return BallTableSize;
    return Game.BallCount;
}

// One probed cell: counts as an obstacle unless open, pulls the ball found there forward,
// and reports contact with the trail or the player.
int32_t ProbeBallCell(int32_t x, int32_t y) {
    uint8_t code = GetCell(x, y);
    if (code == CellOpen) return 0;
    // Ball 39 is never pulled: the pull is limited to codes 1..39.
    if (code >= CellBallFirst && code < CellBallLast) MoveBall(code - 1);
    if (code == CellPlayer || code == CellTrail) Game.PlayerHit = 1;
    return 1;
}

void FillBalls(Surface* surface, int32_t first, bool erase) {
    for (int32_t i = first; i < BallTableSize; ++i) {
        const BallRecord& ball = Game.Balls[i];
        DDFillRect(surface, erase ? 0u : ball.Colour, ball.X, ball.Y, 2, 2);
    }
}

// Spot on the ring's ray at the given radius.
void SetRingSpot(BallRecord& ball, int32_t centreX, int32_t centreY, int32_t radius, double s,
                 double c) {
    ball.X = centreX + static_cast<int32_t>(radius * s);
    ball.Y = centreY - static_cast<int32_t>(radius * c);
}

} // namespace

void ClearBalls() {
    for (BallRecord& ball : Game.Balls) ball = BallRecord{};
}

void PlaceTitleBalls() {
    SeedRandom(CurrentTimeSeconds());
    for (int32_t i = 0; i < BallTableSize; ++i) {
        PlaceBallAtRandom(0, 0, 399, 299, i);
        StampBall(i);
        Game.Balls[i].Colour = ColourTable[TitleBallColours[i % 8]];
    }
}

void PlaceBallsForLevel() {
    int32_t inPlay = BallsInPlay();
    for (int32_t i = 0; i < inPlay; ++i) {
        if (Game.RandomGame)
            PlaceBallAtRandom(30, 80, 320, 200, i);
        else
            PlaceBallOnRing(200, 173, 60, i);
    }
    // The spare balls go into the box of the status area.
    for (int32_t i = inPlay; i < BallTableSize; ++i) PlaceBallAtRandom(125, 6, 85, 6, i);
}

void PlaceBallAtRandom(int32_t xOffset, int32_t yOffset, int32_t xRange, int32_t yRange,
                       int32_t ball) {
    if (!IsBallIndex(ball)) return;
    BallRecord& b = Game.Balls[ball];
    do {
        b.X = RandomNumber() % xRange + xOffset;
        b.Y = RandomNumber() % yRange + yOffset;
    } while (BallSpotTaken(ball));
    b.Dx = RandomNumber() % 10 < 6 ? 1 : -1;
    b.Dy = RandomNumber() % 10 < 6 ? 1 : -1;
}

void PlaceBallOnRing(int32_t centreX, int32_t centreY, int32_t radius, int32_t ball) {
    if (!IsBallIndex(ball)) return;
    BallRecord& b = Game.Balls[ball];
    double angle = (360.0 / Game.BallCount) * ball;
    double s, c;
    RingSinCos(angle * DegreesToRadians, &s, &c);
    SetRingSpot(b, centreX, centreY, radius, s, c);
    // A taken spot moves the ball inwards along the same ray.
    while (BallSpotTaken(ball)) {
        radius -= 3;
        SetRingSpot(b, centreX, centreY, radius, s, c);
    }
    // Each ball leaves the centre diagonally, outwards.
    if (angle < 90.0) {
        b.Dx = 1;
        b.Dy = -1;
    } else if (angle < 180.0) {
        b.Dx = 1;
        b.Dy = 1;
    } else if (angle < 270.0) {
        b.Dx = -1;
        b.Dy = 1;
    } else {
        b.Dx = -1;
        b.Dy = -1;
    }
}

void StampBall(int32_t ball) {
    if (!IsBallIndex(ball)) return;
    const BallRecord& b = Game.Balls[ball];
    uint8_t code = static_cast<uint8_t>(ball + 1);
    SetCell(b.X, b.Y, code);
    SetCell(b.X + 1, b.Y, code);
    SetCell(b.X, b.Y + 1, code);
    SetCell(b.X + 1, b.Y + 1, code);
}

void UnstampBall(int32_t ball) {
    if (!IsBallIndex(ball)) return;
    const BallRecord& b = Game.Balls[ball];
    SetCell(b.X, b.Y, CellOpen);
    SetCell(b.X + 1, b.Y, CellOpen);
    SetCell(b.X, b.Y + 1, CellOpen);
    SetCell(b.X + 1, b.Y + 1, CellOpen);
}

int32_t ProbeBallRow(int32_t x, int32_t y, int32_t count) {
    int32_t obstacles = 0;
    for (int32_t k = 0; k < count; ++k) obstacles += ProbeBallCell(x + k, y);
    return obstacles;
}

int32_t ProbeBallColumn(int32_t x, int32_t y, int32_t count) {
    int32_t obstacles = 0;
    for (int32_t k = 0; k < count; ++k) obstacles += ProbeBallCell(x, y + k);
    return obstacles;
}

int32_t BallSpotTaken(int32_t ball) {
    if (!IsBallIndex(ball)) return 0;
    const BallRecord& b = Game.Balls[ball];
    int32_t taken = ProbeBallRow(b.X, b.Y, 2);
    if (taken) return taken;
    return ProbeBallRow(b.X, b.Y + 1, 2);
}

void MoveBall(int32_t ball) {
    if (!IsBallIndex(ball)) return;
    BallRecord& b = Game.Balls[ball];
    if (b.Moved != 0) return;
    // Marked before probing: a ball pulled by this one's probe cannot pull this one back.
    b.Moved = 255;
    UnstampBall(ball);

    int32_t column = b.Dx >= 0 ? b.X + 2 : b.X - 1;
    if (ProbeBallColumn(column, b.Y, 2))
        b.Dx = static_cast<int8_t>(-b.Dx);
    else
        b.X += b.Dx;

    int32_t row = b.Dy >= 0 ? b.Y + 2 : b.Y - 1;
    if (ProbeBallRow(b.X, row, 2))
        b.Dy = static_cast<int8_t>(-b.Dy);
    else
        b.Y += b.Dy;

    StampBall(ball);
}

void MoveAllBalls() {
    for (BallRecord& b : Game.Balls) b.Moved = 0;
    for (int32_t i = 0; i < BallTableSize; ++i) MoveBall(i);
}

void MoveSpareBalls() {
    for (BallRecord& b : Game.Balls) b.Moved = 0;
    for (int32_t i = FirstSpareBall(); i < BallTableSize; ++i) MoveBall(i);
}

void DrawBalls(Surface* surface) {
    FillBalls(surface, 0, false);
}

void EraseBalls(Surface* surface) {
    FillBalls(surface, 0, true);
}

void DrawSpareBalls(Surface* surface) {
    FillBalls(surface, FirstSpareBall(), false);
}

void EraseSpareBalls(Surface* surface) {
    FillBalls(surface, FirstSpareBall(), true);
}

void BallsStep() {
    EraseBalls(BackBuffer);
    MoveAllBalls();
    DrawBalls(BackBuffer);
}

void SpareBallsStep() {
    EraseSpareBalls(BackBuffer);
    MoveSpareBalls();
    DrawSpareBalls(BackBuffer);
}
