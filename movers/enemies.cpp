#include "movers/enemies.h"

#include "display/draw.h"
#include "game/game_record.h"
#include "playfield/playfield.h"

namespace {

constexpr uint32_t EnemyColour = 0xFFFFFFFFu; // every bit set: white at any depth
constexpr int32_t ReversalPause = 100;        // frames before the next reversal may fire

bool IsEnemyIndex(int32_t enemy) {
    return enemy >= 0 && enemy < EnemyTableSize;
}

int32_t EnemiesInPlay() {
    if (Game.EnemyCount < 0) return 0;
    if (Game.EnemyCount > EnemyTableSize) return EnemyTableSize;
    return Game.EnemyCount;
}

int32_t BallsInPlay() {
    if (Game.BallCount < 0) return 0;
    if (Game.BallCount > BallTableSize) return BallTableSize;
    return Game.BallCount;
}

// Enemies run on wall and trail only; the player's square bars the way and is hit.
int32_t ProbeEnemyCell(int32_t x, int32_t y) {
    uint8_t code = GetCell(x, y);
    if (code == CellWall || code == CellTrail) return 0;
    if (code == CellPlayer) Game.PlayerHit = 1;
    return 1;
}

// The four cells of an enemy in the order of Under.
int32_t CornerX(const EnemyRecord& e, int32_t k) {
    return e.X + (k & 1);
}
int32_t CornerY(const EnemyRecord& e, int32_t k) {
    return e.Y + (k >> 1);
}

int8_t StartDx(int32_t enemy) {
    return enemy % 2 == 0 ? 1 : -1;
}

} // namespace

void PlaceEnemies() {
    for (EnemyRecord& e : Game.Enemies) {
        e.X = 0;
        e.Y = 0;
        e.Dx = 0;
        e.Dy = 0;
        e.Moved = 0;
    }
    if (Game.EnemyCount >= EnemyTableSize) Game.EnemyCount = EnemyTableSize - 1;
    for (int32_t i = 0; i < Game.EnemyCount; ++i) {
        EnemyRecord& e = Game.Enemies[i];
        if (i == 0) {
            e.X = 1;
            e.Y = 171;
        } else if (i == 1) {
            e.X = 397;
            e.Y = 171;
        } else {
            // Integer division first: the spacing is a whole number of cells.
            e.X = 300 / (Game.EnemyCount - 1) * (i - 1) + 50;
            e.Y = 46;
        }
        e.Dx = StartDx(i);
        e.Dy = 1;
        StampEnemy(i);
    }
}

void SpawnEnemy() {
    if (!Game.RespawnFlag) return;
    int32_t hitBefore = Game.PlayerHit;
    Game.EnemySpawnTimer = Game.RespawnTime * FramesPerSecondOfGame;
    if (Game.EnemyCount >= EnemyTableSize) return;
    int32_t i = Game.EnemyCount < 0 ? 0 : Game.EnemyCount;
    Game.EnemyCount = i + 1;
    EnemyRecord& e = Game.Enemies[i];
    e.X = 199;
    e.Y = 47;
    e.Dx = StartDx(i);
    e.Dy = 1;
    // Slide along the top strip past whatever stands at the spawn point.
    while (EnemySpotTaken(i)) e.X += e.Dx;
    StampEnemy(i);
    // Touching the player while looking for a spot is not a hit.
    Game.PlayerHit = hitBefore;
}

void EnemiesStep() {
    EraseAllEnemies();
    MoveAllEnemies();
    DrawEnemies();
}

void MoveAllEnemies() {
    for (EnemyRecord& e : Game.Enemies) e.Moved = 0;
    int32_t count = EnemiesInPlay();
    for (int32_t i = 0; i < count; ++i) MoveEnemy(i);
}

void MoveEnemy(int32_t enemy) {
    if (!IsEnemyIndex(enemy)) return;
    EnemyRecord& e = Game.Enemies[enemy];
    if (e.Moved != 0) return;
    e.Moved = 255;
    UnstampEnemy(enemy);

    int32_t column = e.Dx >= 0 ? e.X + 2 : e.X - 1;
    if (ProbeEnemyColumn(column, e.Y, 2))
        e.Dx = static_cast<int8_t>(-e.Dx);
    else
        e.X += e.Dx;

    int32_t row = e.Dy >= 0 ? e.Y + 2 : e.Y - 1;
    if (ProbeEnemyRow(e.X, row, 2))
        e.Dy = static_cast<int8_t>(-e.Dy);
    else
        e.Y += e.Dy;

    ClampEnemy(enemy);
    StampEnemy(enemy);
}

void StampEnemy(int32_t enemy) {
    if (!IsEnemyIndex(enemy)) return;
    EnemyRecord& e = Game.Enemies[enemy];
    for (int32_t k = 0; k < 4; ++k) e.Under[k] = GetCell(CornerX(e, k), CornerY(e, k));
    for (int32_t k = 0; k < 4; ++k) SetCell(CornerX(e, k), CornerY(e, k), CellEnemy);
}

void StampAllEnemies() {
    int32_t count = EnemiesInPlay();
    for (int32_t i = 0; i < count; ++i) StampEnemy(i);
}

void UnstampEnemy(int32_t enemy) {
    if (!IsEnemyIndex(enemy)) return;
    const EnemyRecord& e = Game.Enemies[enemy];
    for (int32_t k = 0; k < 4; ++k) SetCell(CornerX(e, k), CornerY(e, k), e.Under[k]);
}

void EraseEnemy(int32_t enemy) {
    if (!IsEnemyIndex(enemy)) return;
    const EnemyRecord& e = Game.Enemies[enemy];
    for (int32_t k = 0; k < 4; ++k) {
        uint32_t colour = e.Under[k] == CellTrail ? ColourTable[2] : ColourTable[0];
        DDFillRect(BackBuffer, colour, CornerX(e, k), CornerY(e, k), 1, 1);
    }
}

void EraseAllEnemies() {
    int32_t count = EnemiesInPlay();
    for (int32_t i = 0; i < count; ++i) EraseEnemy(i);
}

void LiftAllEnemies() {
    int32_t count = EnemiesInPlay();
    for (int32_t i = 0; i < count; ++i) {
        EraseEnemy(i);
        UnstampEnemy(i);
    }
}

void DrawEnemies() {
    int32_t count = EnemiesInPlay();
    for (int32_t i = 0; i < count; ++i)
        DDFillRect(BackBuffer, EnemyColour, Game.Enemies[i].X, Game.Enemies[i].Y, 2, 2);
}

int32_t ProbeEnemyRow(int32_t x, int32_t y, int32_t count) {
    int32_t obstacles = 0;
    for (int32_t k = 0; k < count; ++k) obstacles += ProbeEnemyCell(x + k, y);
    return obstacles;
}

int32_t ProbeEnemyColumn(int32_t x, int32_t y, int32_t count) {
    int32_t obstacles = 0;
    for (int32_t k = 0; k < count; ++k) obstacles += ProbeEnemyCell(x, y + k);
    return obstacles;
}

int32_t EnemySpotTaken(int32_t enemy) {
    if (!IsEnemyIndex(enemy)) return 0;
    const EnemyRecord& e = Game.Enemies[enemy];
    int32_t taken = ProbeEnemyRow(e.X, e.Y, 2);
    if (taken) return taken;
    return ProbeEnemyRow(e.X, e.Y + 1, 2);
}

void ClampEnemy(int32_t enemy) {
    if (!IsEnemyIndex(enemy)) return;
    EnemyRecord& e = Game.Enemies[enemy];
    if (e.X < 0) {
        e.X = 0;
        e.Dx = static_cast<int8_t>(-e.Dx);
    }
    if (e.X > 398) {
        e.X = 398;
        e.Dx = static_cast<int8_t>(-e.Dx);
    }
    if (e.Y < 46) {
        e.Y = 46;
        e.Dy = static_cast<int8_t>(-e.Dy);
    }
    if (e.Y > 298) {
        e.Y = 298;
        e.Dy = static_cast<int8_t>(-e.Dy);
    }
}

void ReverseAllEnemies() {
    int32_t count = EnemiesInPlay();
    for (int32_t i = 0; i < count; ++i) {
        EnemyRecord& e = Game.Enemies[i];
        e.Dx = static_cast<int8_t>(-e.Dx);
        e.Dy = static_cast<int8_t>(-e.Dy);
    }
}

void Reverse() {
    if (Game.ReversalTimer > 0) return;
    // Spare balls keep bouncing in their box the way they were going.
    int32_t balls = BallsInPlay();
    for (int32_t i = 0; i < balls; ++i) {
        BallRecord& b = Game.Balls[i];
        b.Dx = static_cast<int8_t>(-b.Dx);
        b.Dy = static_cast<int8_t>(-b.Dy);
    }
    ReverseAllEnemies();
    Game.ReversalTimer = ReversalPause;
}
