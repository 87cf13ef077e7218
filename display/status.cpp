// The status line above the playfield and the texts of the title page. Zero-padded fields
// keep each text the same length, so a redraw's opaque background covers the old text.
#include "display/status.h"

#include <cstdio>
#include <cstring>

#include "display/draw.h"
#include "game/game_record.h"

const char* const TitleWebAddress = "www.quorvanel-games.example";

namespace {

constexpr uint32_t StatusColour = Rgb(128, 200, 255);
constexpr uint32_t Black = Rgb(0, 0, 0);

} // namespace

int32_t ShowLives() {
    char text[20];
    std::memset(text, 0, sizeof text);
    std::snprintf(text, sizeof text, "Lives : %02d", Game.Lives);
    return DrawTextLeft(BackBuffer, text, Black, StatusColour, 0, 0);
}

int32_t ShowReversals() {
    char text[20];
    std::memset(text, 0, sizeof text);
    std::snprintf(text, sizeof text, "Reversals : %02d", Game.Reversals);
    return DrawTextRight(BackBuffer, text, Black, StatusColour, 399, 0);
}

int32_t ShowLevel() {
    char text[20];
    std::memset(text, 0, sizeof text);
    std::snprintf(text, sizeof text, "Level : %02d", Game.Level);
    return DrawTextLeft(BackBuffer, text, Black, StatusColour, 115, 24);
}

int32_t ShowEnemies() {
    char text[20];
    std::memset(text, 0, sizeof text);
    std::snprintf(text, sizeof text, "Enemy : %02d", Game.EnemySpawnSeconds);
    return DrawTextRight(BackBuffer, text, Black, StatusColour, 285, 24);
}

int32_t ShowPercent() {
    char text[25];
    std::memset(text, 0, sizeof text);
    std::snprintf(text, sizeof text, "%%Complete : %02d", Game.PercentComplete);
    return DrawTextRight(BackBuffer, text, Black, StatusColour, 399, 24);
}

int32_t ShowScore() {
    char text[25];
    std::memset(text, 0, sizeof text);
    std::snprintf(text, sizeof text, "Score : %06ld", static_cast<long>(Game.Score));
    return DrawTextLeft(BackBuffer, text, Black, StatusColour, 0, 24);
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
    DrawTextRight(BackBuffer, "V1.05", Black, Rgb(127, 127, 127), 395, 271);
}
