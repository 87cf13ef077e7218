// Hand-made boards for the mover and claim tests: rectangles of one cell code, movers
// stamped where a test wants them, and the claim's own state put back to program start.
#pragma once
#include <cstdint>
#include <vector>

// Writes the code into every cell of the rectangle, both corners included.
void FillCellRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t code);
// Cells holding the code in the whole grid, or in a rectangle (both corners included).
int32_t CountCellCodes(uint8_t code);
int32_t CountCellCodesIn(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint8_t code);
// Pixels of BackBuffer in the rectangle that hold the raw value.
int32_t CountPixelsIn(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t value);
std::vector<uint8_t> CopyGrid();

// Sets the record of ball or enemy i and stamps it (the enemy saves the cells beneath).
void StampBallAt(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy);
void StampEnemyAt(int32_t i, int32_t x, int32_t y, int8_t dx, int8_t dy);
// Balls first..39 stamped in walled pockets of the status area, where they never move.
void ParkSpareBalls(int32_t first);

// ColourTable entry i becomes 0x10000 + i, so every fill colour tells which entry it was.
void UseDistinctColours();
constexpr uint32_t DistinctColourBase = 0x10000;

// Fill stack, colour bag and claim colour as they are at program start.
void ResetClaimState();
