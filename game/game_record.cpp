#include "game/game_record.h"

GameRecord Game;
uint32_t RandomState = 1;

void SeedRandom(uint32_t seed) {
    RandomState = seed;
}

int32_t RandomNumber() {
    RandomState = RandomState * 214013u + 2531011u;
    return static_cast<int32_t>((RandomState >> 16) & 32767u);
}

void ResetGameRecord() {
    Game = GameRecord{};
    RandomState = 1;
}
