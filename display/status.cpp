// The status line above the playfield and the texts of the title page. Zero-padded fields
// keep each text the same length, so a redraw's opaque background covers the old text.
#include "display/status.h"

#include <cstdio>
#include <cstring>

#include "display/draw.h"
#include "game/game_record.h"
#include "shell/version.h"

const char* const TitleWebAddress = "www.quorvanel-games.example";

namespace {

constexpr uint32_t StatusColour = Rgb(128, 200, 255);
constexpr uint32_t Black = Rgb(0, 0, 0);

using DrawText = int32_t (*)(Surface*, const char*, uint32_t, uint32_t, int32_t, int32_t);

// One status item: its value formatted into a cleared buffer of the item's size and drawn
// on BackBuffer.
template <size_t BufferSize>
int32_t ShowItem(const char* format, int32_t value, DrawText draw, int32_t x, int32_t y) {
    char text[BufferSize];
    std::memset(text, 0, sizeof text);
    std::snprintf(text, sizeof text, format, static_cast<int>(value));
    return draw(BackBuffer, text, Black, StatusColour, x, y);
}

} // namespace

int32_t ShowLives() {
    return ShowItem<20>("Lives : %02d", Game.Lives, DrawTextLeft, 0, 0);
}

int32_t ShowReversals() {
    return ShowItem<20>("Reversals : %02d", Game.Reversals, DrawTextRight, 399, 0);
}

int32_t ShowLevel() {
    return ShowItem<20>("Level : %02d", Game.Level, DrawTextLeft, 115, 24);
}

int32_t ShowEnemies() {
    return ShowItem<20>("Enemy : %02d", Game.EnemySpawnSeconds, DrawTextRight, 285, 24);
}

int32_t ShowPercent() {
    return ShowItem<25>("%%Complete : %02d", Game.PercentComplete, DrawTextRight, 399, 24);
}

int32_t ShowScore() {
    return ShowItem<25>("Score : %06d", Game.Score, DrawTextLeft, 0, 24);
}

void DrawTitlePage() {
    SetTextFont(BackBuffer, "Arial", 80);
    for (int32_t k = 0; k < HighScoreEntries; ++k) {
        const HighScoreEntry& entry = Game.HighScoreTable[k];
        char name[HighScoreNameSize + 1];
        // A name that fills its field has no terminating zero of its own.
        std::memcpy(name, entry.Name, HighScoreNameSize);
        name[HighScoreNameSize] = 0;
        DrawTextLeft(BackBuffer, name, Black, Rgb(0, 155, 255), 25, 100 + 17 * k);
        char score[16];
        std::snprintf(score, sizeof score, "%06d", entry.Score);
        DrawTextRight(BackBuffer, score, Black, Rgb(200, 100, 100), 375, 100 + 17 * k);
    }
    DrawTextCentred(BackBuffer, TitleWebAddress, Black, Rgb(255, 255, 255), 200, 265);
    DrawTextCentred(BackBuffer, "Press SPACE To Start", Black, Rgb(196, 127, 255), 200, 280);
    DrawTextRight(BackBuffer, GameVersionText, Black, Rgb(127, 127, 127), 395, 271);
}
