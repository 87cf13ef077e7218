// The 400x300 grid of byte cells on which every rule of the game is decided.
#pragma once
#include <cstdint>

constexpr int32_t PlayfieldWidth = 400;
constexpr int32_t PlayfieldHeight = 300;
constexpr int32_t PlayfieldCells = PlayfieldWidth * PlayfieldHeight;

constexpr uint8_t CellOpen = 0;
constexpr uint8_t CellBallFirst = 1; // ball i is code i + 1
constexpr uint8_t CellBallLast = 40;
constexpr uint8_t CellEnemy = 126;
constexpr uint8_t CellTrail = 127;
constexpr uint8_t CellClaimed = 240;
constexpr uint8_t CellFillMark = 241;
constexpr uint8_t CellPlayer = 254;
constexpr uint8_t CellWall = 255;

// Every whole-field sweep visits this rectangle, both ends included: one column and one
// row beyond the open field, so it also covers the inner edge of the right and bottom frame.
constexpr int32_t ScanLeft = 4;
constexpr int32_t ScanRight = 396;
constexpr int32_t ScanTop = 50;
constexpr int32_t ScanBottom = 296;
constexpr int32_t ScanRectCells = (ScanRight - ScanLeft + 1) * (ScanBottom - ScanTop + 1);

extern uint8_t* Playfield; // null while no grid exists

// Reads outside the grid give CellWall; writes outside are dropped.
inline uint8_t GetCell(int32_t x, int32_t y) {
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(PlayfieldWidth) ||
        static_cast<uint32_t>(y) >= static_cast<uint32_t>(PlayfieldHeight))
        return CellWall;
    return Playfield[y * PlayfieldWidth + x];
}

inline void SetCell(int32_t x, int32_t y, uint8_t code) {
    if (static_cast<uint32_t>(x) >= static_cast<uint32_t>(PlayfieldWidth) ||
        static_cast<uint32_t>(y) >= static_cast<uint32_t>(PlayfieldHeight))
        return;
    Playfield[y * PlayfieldWidth + x] = code;
}

int32_t AllocPlayfield(); // 1, or 0 with Playfield null
void FreePlayfield();
