#include "tests/support/grid_check.h"

#include <cstring>
#include <sstream>

#include "game/game_record.h"
#include "playfield/playfield.h"

namespace {

// Within one cell of another ball's square: where that ball stands now, or stood before its
// last step.
bool NearAnotherBall(int32_t ball, int32_t x, int32_t y) {
    for (int32_t j = 0; j < BallTableSize; ++j) {
        const BallRecord& b = Game.Balls[j];
        if (j != ball && x >= b.X - 1 && x <= b.X + 2 && y >= b.Y - 1 && y <= b.Y + 2) return true;
    }
    return false;
}

bool InsideBall(int32_t ball, int32_t x, int32_t y) {
    const BallRecord& b = Game.Balls[ball];
    return x >= b.X && x <= b.X + 1 && y >= b.Y && y <= b.Y + 1;
}

std::string BallFault() {
    std::ostringstream fault;
    for (int32_t i = 0; i < BallTableSize; ++i) {
        const BallRecord& b = Game.Balls[i];
        if (b.X < 0 || b.X > 398 || b.Y < 0 || b.Y > 298) {
            fault << "ball " << i << " outside at " << b.X << "," << b.Y;
            return fault.str();
        }
    }
    for (int32_t y = 0; y < PlayfieldHeight; ++y)
        for (int32_t x = 0; x < PlayfieldWidth; ++x) {
            uint8_t code = GetCell(x, y);
            if (code < CellBallFirst || code > CellBallLast) continue;
            if (!InsideBall(code - 1, x, y)) {
                fault << "stale code " << int(code) << " at " << x << "," << y;
                return fault.str();
            }
        }
    // Spare balls are placed unstamped in a crowded box and may keep unstamping each other
    // for a long time, so only the balls in play are held to their stamps. A ball pulled
    // into cells another has just lifted shares them with it, and a later lift of a shared
    // cell can open a hole in the other's square for a pass; so a cell of a ball in play that
    // lacks its code must be open or another ball's, with another ball beside it.
    for (int32_t i = 0; i < Game.BallCount && i < BallTableSize; ++i) {
        const BallRecord& b = Game.Balls[i];
        for (int32_t k = 0; k < 4; ++k) {
            int32_t x = b.X + k % 2, y = b.Y + k / 2;
            uint8_t code = GetCell(x, y);
            if (code == CellBallFirst + i) continue;
            bool shared = code == CellOpen || (code >= CellBallFirst && code <= CellBallLast);
            if (!shared || !NearAnotherBall(i, x, y)) {
                fault << "ball " << i << " at " << b.X << "," << b.Y << " has code " << int(code)
                      << " at " << x << "," << y;
                return fault.str();
            }
        }
    }
    return "";
}

std::string PlayerFault() {
    std::ostringstream fault;
    if (Game.PlayerX < 0 || Game.PlayerX > 396 || Game.PlayerY < 46 || Game.PlayerY > 296) {
        fault << "player outside at " << Game.PlayerX << "," << Game.PlayerY;
        return fault.str();
    }
    for (int32_t k = 0; k < 16; ++k)
        if (GetCell(Game.PlayerX + k % 4, Game.PlayerY + k / 4) != CellPlayer) {
            fault << "player not stamped at " << Game.PlayerX << "," << Game.PlayerY;
            return fault.str();
        }
    return "";
}

std::string EnemyFault() {
    std::ostringstream fault;
    if (Game.EnemyCount < 0 || Game.EnemyCount > EnemyTableSize) return "enemy count out of range";
    for (int32_t i = 0; i < Game.EnemyCount; ++i) {
        const EnemyRecord& e = Game.Enemies[i];
        if (e.X < 0 || e.X > 398 || e.Y < 46 || e.Y > 298) {
            fault << "enemy " << i << " outside at " << e.X << "," << e.Y;
            return fault.str();
        }
        for (int32_t k = 0; k < 4; ++k) {
            bool stamped = GetCell(e.X + k % 2, e.Y + k / 2) == CellEnemy;
            bool under = e.Under[k] == CellWall || e.Under[k] == CellTrail;
            if (!stamped || !under) {
                fault << "enemy " << i << " at " << e.X << "," << e.Y << " cell " << k
                      << (stamped ? " covers code " : " not stamped, under ")
                      << static_cast<int>(e.Under[k]);
                return fault.str();
            }
        }
    }
    return "";
}

} // namespace

std::string GridFault(const GridCheck& check) {
    if (!Playfield) return "no grid";
    if (std::memchr(Playfield, CellFillMark, PlayfieldCells)) return "fill mark left in the grid";
    std::string fault;
    if (check.Balls && !(fault = BallFault()).empty()) return fault;
    if (check.Player && !(fault = PlayerFault()).empty()) return fault;
    if (check.Enemies && !(fault = EnemyFault()).empty()) return fault;
    return "";
}

int32_t CountCoveredCells() {
    int32_t covered = 0;
    for (int32_t y = ScanTop; y <= ScanBottom; ++y)
        for (int32_t x = ScanLeft; x <= ScanRight; ++x)
            if (GetCell(x, y) != CellOpen) ++covered;
    return covered;
}

int32_t PercentFromCoveredCells(int32_t covered) {
    return static_cast<int32_t>(covered * 1.0301737903184267e-5 * 100.0);
}

int32_t CountBallCells() {
    int32_t cells = 0;
    for (int32_t y = ScanTop; y <= ScanBottom; ++y)
        for (int32_t x = ScanLeft; x <= ScanRight; ++x) {
            uint8_t code = GetCell(x, y);
            if (code >= CellBallFirst && code <= CellBallLast) ++cells;
        }
    return cells;
}
