// Enemies: 2x2 squares patrolling walls and trail; and the space-bar reversal.
#pragma once
#include <cstdint>

void PlaceEnemies();
void SpawnEnemy();
void EnemiesStep();
void MoveAllEnemies();
void MoveEnemy(int32_t enemy);
void StampEnemy(int32_t enemy);
void StampAllEnemies();
void UnstampEnemy(int32_t enemy);
void EraseEnemy(int32_t enemy);
void EraseAllEnemies();
void LiftAllEnemies();
void DrawEnemies();
int32_t ProbeEnemyRow(int32_t x, int32_t y, int32_t count);
int32_t ProbeEnemyColumn(int32_t x, int32_t y, int32_t count);
int32_t EnemySpotTaken(int32_t enemy);
void ClampEnemy(int32_t enemy);
void ReverseAllEnemies();
void Reverse();
