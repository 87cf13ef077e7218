// Balls: 2x2 squares bouncing diagonally through open space.
#pragma once
#include <cstdint>

struct Surface;

void ClearBalls();
void PlaceTitleBalls();
void PlaceBallsForLevel();
void PlaceBallAtRandom(int32_t xOffset, int32_t yOffset, int32_t xRange, int32_t yRange,
                       int32_t ball);
void PlaceBallOnRing(int32_t centreX, int32_t centreY, int32_t radius, int32_t ball);
void StampBall(int32_t ball);
void UnstampBall(int32_t ball);
int32_t ProbeBallRow(int32_t x, int32_t y, int32_t count);
int32_t ProbeBallColumn(int32_t x, int32_t y, int32_t count);
int32_t BallSpotTaken(int32_t ball);
void MoveBall(int32_t ball);
void MoveAllBalls();
void MoveSpareBalls();
void DrawBalls(Surface* surface);
void EraseBalls(Surface* surface);
void DrawSpareBalls(Surface* surface);
void EraseSpareBalls(Surface* surface);
void BallsStep();
void SpareBallsStep();
