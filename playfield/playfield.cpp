#include "playfield/playfield.h"

#include <cstdlib>
#include <cstring>

uint8_t* Playfield = nullptr;

int32_t AllocPlayfield() {
    FreePlayfield();
    Playfield = static_cast<uint8_t*>(std::malloc(PlayfieldCells));
    if (!Playfield) return 0;
    std::memset(Playfield, 0, PlayfieldCells);
    return 1;
}

void FreePlayfield() {
    if (Playfield) std::free(Playfield);
    Playfield = nullptr;
}
