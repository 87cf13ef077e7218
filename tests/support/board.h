// Hand-made boards for the mover and claim tests. Rectangles include both corners.
#pragma once
#include <cstdint>

void FillCellRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t code);
int32_t CountCellCodes(uint8_t code, int32_t x0 = 0, int32_t y0 = 0, int32_t x1 = 399,
                       int32_t y1 = 299);
int32_t CountPixelsIn(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t value);

// Sets the record of ball or enemy i and stamps it (the enemy saves the cells beneath).
void StampBallAt(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy);
void StampEnemyAt(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy);
// Balls first..39 stamped in walled pockets of the status area, where they never move.
void ParkSpareBalls(int32_t first);

// Fill stack, colour bag and claim colour as at program start; ColourTable entry i becomes
// 0x10000 + i, so that a pixel tells which entry painted it.
void ResetClaimState();
