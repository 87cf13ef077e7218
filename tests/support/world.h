// Common set-up for tests: a fresh game record, platform, display and grid.
#pragma once
#include <cstdint>

// Program-start state: game record, random generator, headless platform, a 400x300
// software display at the given depth, and an all-open grid.
void ResetWorld(int32_t bitsPerPixel = 32);

// Writes the level-start grid directly: the four-cell wall frame, walls in the whole status
// area rows 0..45 where `statusWalls` is set, open space in columns 4..395 of rows 50..295.
void MakeLevelGrid(int32_t statusWalls = 0);

#include <filesystem>

// A scratch directory of this process alone (ctest runs test cases side by side), created
// empty; tag names its use. It is removed when the process ends.
std::filesystem::path PrivateTempDir(const char* tag);
