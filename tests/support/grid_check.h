// The grid's invariants during play, checked by the long random runs after every frame.
#pragma once
#include <cstdint>
#include <string>

struct GridCheck {
    bool Balls = true;   // the balls have taken their first step on this level's grid
    bool Player = true;  // the player stands stamped on the grid
    bool Enemies = true; // the enemies stand stamped on the grid
};

// The first broken rule, or an empty text. Rules:
// - no fill mark is left in the grid, no mover stands outside its bounds;
// - a cell holding a ball's code lies inside that ball's square, and a ball in play holds its
//   code in all four cells but where another ball is beside it (a ball pulled into the cells
//   another has just lifted may share them, and a later lift of a shared cell can leave a
//   hole in the other's square for a pass, which the rules allow);
// - the player's 16 cells hold CellPlayer;
// - every enemy's four cells hold CellEnemy, with wall or trail saved beneath.
std::string GridFault(const GridCheck& check);

// Cells of the swept rectangle that are not open, as the claim counts them.
int32_t CountCoveredCells();
// The percentage that a claim would work out from that count.
int32_t PercentFromCoveredCells(int32_t covered);
// Cells of the swept rectangle that hold a ball's code.
int32_t CountBallCells();
