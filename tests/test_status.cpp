#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "display/status.h"
#include "game/game_record.h"
#include "tests/support/world.h"

namespace {

// What a drawing leaves on a cleared BackBuffer; it must light something to prove anything.
std::vector<uint8_t> Drawn(const std::function<void()>& draw) {
    ClearAllSurfaces();
    draw();
    EXPECT_TRUE(std::ranges::any_of(BackBuffer->Pixels, [](uint8_t b) { return b != 0; }));
    return BackBuffer->Pixels;
}

TEST(Status, StatusItemsAndTitlePageShowTheirTextsInTheirPlaces) {
    ResetWorld();
    SetTextFont(BackBuffer, "Arial", 80);
    const struct {
        int32_t (*Show)();
        int32_t* Field;
        int32_t Value;
        const char* Text;
        decltype(&DrawTextLeft) Draw;
        int32_t X, Y;
    } items[] = {{ShowLives, &Game.Lives, 3, "Lives : 03", DrawTextLeft, 0, 0},
                 {ShowReversals, &Game.Reversals, 12, "Reversals : 12", DrawTextRight, 399, 0},
                 {ShowLevel, &Game.Level, 7, "Level : 07", DrawTextLeft, 115, 24},
                 {ShowEnemies, &Game.EnemySpawnSeconds, 9, "Enemy : 09", DrawTextRight, 285, 24},
                 {ShowPercent, &Game.PercentComplete, 75, "%Complete : 75", DrawTextRight, 399, 24},
                 {ShowScore, &Game.Score, 1234, "Score : 001234", DrawTextLeft, 0, 24}};
    for (const auto& i : items) {
        *i.Field = i.Value;
        EXPECT_EQ(Drawn([&] { i.Show(); }),
                  Drawn([&] { i.Draw(BackBuffer, i.Text, 0, Rgb(128, 200, 255), i.X, i.Y); }))
            << i.Text;
    }

    for (int32_t k = 0; k < HighScoreEntries; ++k) {
        std::snprintf(Game.HighScoreTable[k].Name, HighScoreNameSize, "Player %c", 'A' + k);
        Game.HighScoreTable[k].Score = 1000 * k;
    }
    Game.HighScoreTable[4].Name[0] = 0; // draws nothing, while its score is drawn
    auto titlePage = [] {
        for (int32_t k = 0; k < HighScoreEntries; ++k) {
            const int32_t y = 100 + 17 * k;
            DrawTextLeft(BackBuffer, Game.HighScoreTable[k].Name, 0, Rgb(0, 155, 255), 25, y);
            const std::string score = "00" + std::to_string(k) + "000"; // 1000 k as "%06d"
            DrawTextRight(BackBuffer, score.c_str(), 0, Rgb(200, 100, 100), 375, y);
        }
        DrawTextCentred(BackBuffer, TitleWebAddress, 0, Rgb(255, 255, 255), 200, 265);
        DrawTextCentred(BackBuffer, "Press SPACE To Start", 0, Rgb(196, 127, 255), 200, 280);
        DrawTextRight(BackBuffer, "V1.05", 0, Rgb(127, 127, 127), 395, 271);
    };
    EXPECT_EQ(Drawn(DrawTitlePage), Drawn(titlePage));
}

} // namespace
