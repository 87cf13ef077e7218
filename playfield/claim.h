// Territory claim: the scanline seed fill over the grid, scoring, trail solidify and erase.
#pragma once
#include <cstdint>

constexpr int32_t FillStackSize = 500; // entries; a seed takes two
extern int32_t FillStack[FillStackSize];
extern int32_t FillStackTop; // -1 when empty

constexpr int32_t ColourBagSize = 12;
extern int32_t ColourBag[ColourBagSize];
extern int32_t ColourBagRemaining;
extern int32_t ClaimColour;

constexpr int32_t SplitBonus = 500;

void ClaimTerritory();
void EraseTrail();
int32_t FillRegion(int32_t x, int32_t y);
int32_t ScanFillLeft(int32_t x, int32_t y);
int32_t ScanFillRight(int32_t x, int32_t y);
int32_t SeedColumn(int32_t x, int32_t dir, int32_t side);
int32_t SeedRow(int32_t y, int32_t dir, int32_t side);
void PushSeed(int32_t x, int32_t y);
void PushFillEntry(int32_t value);
int32_t PopFillEntry();
void ResetFillStack();
void ClaimFillMarks();
void UndoFillMarks();
void SolidifyTrail();
// The bag as the program starts, full, and the first colour (tests and the simulator).
void ResetClaimColours();
int32_t DrawFromColourBag();
void PickClaimColour();
