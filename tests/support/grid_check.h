// The grid's invariants during play, checked by the long random runs after every frame.
#pragma once
#include <cstdint>
#include <string>

// The first broken rule in play, or an empty text. Rules: no fill mark is left, no mover
// stands out of bounds; a ball's code lies only inside that ball's square, and a ball in play
// holds its code in all four cells but where another ball is beside it (a ball pulled into
// cells another has just lifted shares them, and a later lift can leave a hole for a pass);
// the player's 16 cells hold CellPlayer; each enemy's four hold CellEnemy over wall or trail.
std::string GridFault();

// Cells of the swept rectangle that are not open, as the claim counts them, and the
// percentage the claim works out from such a count.
int32_t CountCoveredCells();
int32_t PercentFromCoveredCells(int32_t covered);
// Cells of the swept rectangle that hold a ball's code.
int32_t CountBallCells();
