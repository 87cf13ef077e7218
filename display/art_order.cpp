// The game's art, and the order in which every display loads it.
#include "display/backend.h"
#include "display/draw.h"
#include "shell/platform.h"

int32_t TitleArtId = 111;
int32_t GameOverArtId = 113;
int32_t LetsGoArtId = 119;
int32_t OhNoArtId = 118;

const GameArtSprite GameArt[GameArtCount] = {
    {&TitleSurface, &TitleArtId, "LoadGameArt: Couldn't load Title Page sprite.\n"},
    {&GameOverSurface, &GameOverArtId, "LoadGameArt: Couldn't load GameOver sprite.\n"},
    {&OhNoSurface, &OhNoArtId, "LoadGameArt: Couldn't load Oh No sprite.\n"},
    {&LetsGoSurface, &LetsGoArtId, "LoadGameArt: Couldn't load Lets Go sprite.\n"},
};

int32_t LoadArtInOrder(int32_t paletteIndexed, int32_t (*attachPalette)(),
                       int32_t (*loadSprite)(int32_t sprite)) {
    if (paletteIndexed) {
        DebugOutput("LoadGameArt: Attaching palette...\n");
        if (!attachPalette()) {
            DebugOutput("LoadGameArt: Couldn't configure palette.\n");
            return 0;
        }
    } else {
        DebugOutput("LoadGameArt: Non-palettized primary...\n");
    }
    for (int32_t i = 0; i < GameArtCount; ++i) {
        if (!loadSprite(i)) {
            DebugOutput(GameArt[i].Failure);
            return 0;
        }
    }
    DebugOutput("LoadGameArt: Art loaded.\n");
    return 1;
}
