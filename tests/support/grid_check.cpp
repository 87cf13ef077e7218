#include "tests/support/grid_check.h"

#include "game/game_record.h"
#include "playfield/playfield.h"

namespace {

bool IsBallCode(uint8_t code) {
    return code >= CellBallFirst && code <= CellBallLast;
}

std::string At(int32_t x, int32_t y) {
    return " at " + std::to_string(x) + "," + std::to_string(y);
}

// Within one cell of another ball's square: where that ball stands now, or stood before its
// last step.
bool NearAnotherBall(int32_t ball, int32_t x, int32_t y) {
    for (int32_t j = 0; j < BallTableSize; ++j) {
        const BallRecord& b = Game.Balls[j];
        if (j != ball && x >= b.X - 1 && x <= b.X + 2 && y >= b.Y - 1 && y <= b.Y + 2) return true;
    }
    return false;
}

std::string BallFault() {
    for (int32_t y = 0; y < PlayfieldHeight; ++y)
        for (int32_t x = 0; x < PlayfieldWidth; ++x) {
            uint8_t code = GetCell(x, y);
            if (!IsBallCode(code)) continue;
            const BallRecord& b = Game.Balls[code - 1];
            if (x < b.X || x > b.X + 1 || y < b.Y || y > b.Y + 1)
                return "stale code " + std::to_string(code) + At(x, y);
        }
    for (int32_t i = 0; i < BallTableSize; ++i) {
        const BallRecord& b = Game.Balls[i];
        auto ball = [&] { return "ball " + std::to_string(i) + At(b.X, b.Y); };
        if (b.X < 0 || b.X > 398 || b.Y < 0 || b.Y > 298) return ball() + " is outside";
        // Spare balls are placed unstamped in a crowded box and may unstamp each other for a
        // long time, so only the balls in play are held to their stamps.
        for (int32_t k = 0; i < Game.BallCount && k < 4; ++k) {
            int32_t x = b.X + k % 2, y = b.Y + k / 2;
            uint8_t code = GetCell(x, y);
            bool shared = (code == CellOpen || IsBallCode(code)) && NearAnotherBall(i, x, y);
            if (code != CellBallFirst + i && !shared)
                return ball() + " has code " + std::to_string(code) + At(x, y);
        }
    }
    return "";
}

std::string PlayerFault() {
    auto player = [] { return "player" + At(Game.PlayerX, Game.PlayerY); };
    if (Game.PlayerX < 0 || Game.PlayerX > 396 || Game.PlayerY < 46 || Game.PlayerY > 296)
        return player() + " is outside";
    for (int32_t k = 0; k < 16; ++k)
        if (GetCell(Game.PlayerX + k % 4, Game.PlayerY + k / 4) != CellPlayer)
            return player() + " is not stamped";
    return "";
}

std::string EnemyFault() {
    if (Game.EnemyCount < 0 || Game.EnemyCount > EnemyTableSize) return "enemy count out of range";
    for (int32_t i = 0; i < Game.EnemyCount; ++i) {
        const EnemyRecord& e = Game.Enemies[i];
        auto enemy = [&] { return "enemy " + std::to_string(i) + At(e.X, e.Y); };
        if (e.X < 0 || e.X > 398 || e.Y < 46 || e.Y > 298) return enemy() + " is outside";
        for (int32_t k = 0; k < 4; ++k) {
            if (GetCell(e.X + k % 2, e.Y + k / 2) != CellEnemy) return enemy() + " is not stamped";
            if (e.Under[k] != CellWall && e.Under[k] != CellTrail)
                return enemy() + " covers code " + std::to_string(e.Under[k]);
        }
    }
    return "";
}

template <typename Test> int32_t CountSwept(Test test) {
    int32_t n = 0;
    for (int32_t y = ScanTop; y <= ScanBottom; ++y)
        for (int32_t x = ScanLeft; x <= ScanRight; ++x) n += test(GetCell(x, y));
    return n;
}

} // namespace

std::string GridFault() {
    if (!Playfield) return "no grid";
    // The claim sweeps its marks out of the scan rectangle only. A fill seeded on the outer
    // frame can reach the open outermost pixel of a round frame corner and, past it, the
    // black of the status area; its marks stay there, where no mover and no count looks.
    for (int32_t y = ScanTop; y <= ScanBottom; ++y)
        for (int32_t x = ScanLeft; x <= ScanRight; ++x)
            if (GetCell(x, y) == CellFillMark) return "fill mark left in the grid" + At(x, y);
    std::string fault = BallFault();
    if (fault.empty()) fault = PlayerFault();
    return fault.empty() ? EnemyFault() : fault;
}

int32_t CountCoveredCells() {
    return CountSwept([](uint8_t code) { return code != CellOpen; });
}

int32_t PercentFromCoveredCells(int32_t covered) {
    return static_cast<int32_t>(covered * 1.0301737903184267e-5 * 100.0);
}

int32_t CountBallCells() {
    return CountSwept(IsBallCode);
}
