// The player's square and its trail.
#pragma once
#include <cstdint>

void PlayerStep();
void FinishPlayerStep();
void RepaintPlayerCells();
void SteerPlayer();
int32_t MayMoveUp();
int32_t MayMoveDown();
int32_t MayMoveLeft();
int32_t MayMoveRight();
int32_t MoveUp();
int32_t MoveDown();
int32_t MoveLeft();
int32_t MoveRight();
void ShowWallCells();
