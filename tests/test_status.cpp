#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "display/status.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "tests/support/world.h"

namespace {

const uint32_t StatusColour = Rgb(128, 200, 255);
const uint32_t Black = Rgb(0, 0, 0);

int32_t LitIn(const Surface* s, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    int32_t n = 0;
    for (int32_t y = y0; y <= y1; ++y)
        for (int32_t x = x0; x <= x1; ++x) n += ReadPixel(s, x, y) != 0;
    return n;
}

// What a drawing operation leaves on a cleared BackBuffer.
std::vector<uint8_t> Drawn(const std::function<void()>& draw) {
    ClearAllSurfaces();
    draw();
    return BackBuffer->Pixels;
}

class Status : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld(32);
        SetTextFont(BackBuffer, "Arial", 80);
    }
    void TearDown() override { ReleaseSoftwareDisplay(); }
};

struct Item {
    const char* Name;
    std::function<int32_t()> Show;
    std::function<void()> SetValue;
    const char* Text;
    int32_t Align; // 0 left, 1 right
    int32_t X, Y;
};

TEST_F(Status, EachItemShowsItsFormattedValueInItsPlace) {
    const Item items[] = {
        {"lives", ShowLives, [] { Game.Lives = 3; }, "Lives : 03", 0, 0, 0},
        {"reversals", ShowReversals, [] { Game.Reversals = 12; }, "Reversals : 12", 1, 399, 0},
        {"level", ShowLevel, [] { Game.Level = 7; }, "Level : 07", 0, 115, 24},
        {"enemies", ShowEnemies, [] { Game.EnemySpawnSeconds = 9; }, "Enemy : 09", 1, 285, 24},
        {"percent", ShowPercent, [] { Game.PercentComplete = 75; }, "%Complete : 75", 1, 399, 24},
        {"score", ShowScore, [] { Game.Score = 1234; }, "Score : 001234", 0, 0, 24},
    };
    for (const Item& item : items) {
        item.SetValue();
        std::vector<uint8_t> shown = Drawn([&] { EXPECT_EQ(item.Show(), 0) << item.Name; });
        std::vector<uint8_t> expected = Drawn([&] {
            if (item.Align)
                DrawTextRight(BackBuffer, item.Text, Black, StatusColour, item.X, item.Y);
            else
                DrawTextLeft(BackBuffer, item.Text, Black, StatusColour, item.X, item.Y);
        });
        EXPECT_EQ(shown, expected) << item.Name;
        EXPECT_GT(LitIn(BackBuffer, 0, item.Y, 399, item.Y + 12), 20) << item.Name;
    }
}

// The level screen's drawing, read back into the grid, at every depth.
class LevelScreen : public ::testing::TestWithParam<int32_t> {
  protected:
    void SetUp() override { ResetWorld(GetParam()); }
    void TearDown() override { ReleaseSoftwareDisplay(); }
};

INSTANTIATE_TEST_SUITE_P(AllDepths, LevelScreen, ::testing::Values(8, 16, 24, 32));

TEST_P(LevelScreen, GrabGivesTheFrameTheStatusWallsAndAnOpenField) {
    Game.Lives = 3;
    Game.Score = 987654;
    ClearAllSurfaces();
    SetTextFont(BackBuffer, "Arial", 80);
    DrawRectangle(BackBuffer, Rgb(0, 0, 255), 2, 48, 397, 251, 4);
    DrawRectangle(BackBuffer, Rgb(255, 0, 0), 115, 2, 170, 20, 4);
    ShowLives();
    ShowReversals();
    ShowLevel();
    ShowPercent();
    ShowEnemies();
    ShowScore();
    GrabPlayfieldFromScreen();
    ASSERT_NE(Playfield, nullptr);

    int32_t frameWrong = 0, statusWalls = 0, strays = 0;
    for (int32_t y = 0; y < 300; ++y)
        for (int32_t x = 0; x < 400; ++x) {
            uint8_t cell = GetCell(x, y);
            if (y < 46) {
                statusWalls += cell == CellWall;
                strays += cell != CellWall && cell != CellOpen;
                continue;
            }
            bool wall = x < 4 || x > 395 || y < 50 || y > 295;
            frameWrong += cell != (wall ? CellWall : CellOpen);
        }
    EXPECT_EQ(frameWrong, 0);
    EXPECT_EQ(strays, 0);
    // The status box alone is 174 x 24 minus its inside; the texts add to it.
    const int32_t boxCells = 174 * 24 - 166 * 16;
    EXPECT_GT(statusWalls, boxCells + 300);
    EXPECT_EQ(PixelToRgb(BackBuffer, ReadPixel(BackBuffer, 113, 12)), Rgb(255, 0, 0));
}

TEST_F(Status, TitlePageShowsTheTableTheAddressThePromptAndTheVersion) {
    for (int32_t k = 0; k < HighScoreEntries; ++k) {
        std::snprintf(Game.HighScoreTable[k].Name, HighScoreNameSize, "Player %c", 'A' + k);
        Game.HighScoreTable[k].Score = 1000 * k;
    }
    std::vector<uint8_t> page = Drawn(DrawTitlePage);
    // The same items drawn one by one, last first: none of them overlaps another.
    std::vector<uint8_t> expected = Drawn([] {
        DrawTextRight(BackBuffer, "V1.05", Black, Rgb(127, 127, 127), 395, 271);
        DrawTextCentred(BackBuffer, "Press SPACE To Start", Black, Rgb(196, 127, 255), 200, 280);
        DrawTextCentred(BackBuffer, TitleWebAddress, Black, Rgb(255, 255, 255), 200, 265);
        for (int32_t k = HighScoreEntries - 1; k >= 0; --k) {
            char score[8];
            std::snprintf(score, sizeof score, "%06d", 1000 * k);
            DrawTextRight(BackBuffer, score, Black, Rgb(200, 100, 100), 375, 100 + 17 * k);
            std::string name = std::string("Player ") + static_cast<char>('A' + k);
            DrawTextLeft(BackBuffer, name.c_str(), Black, Rgb(0, 155, 255), 25, 100 + 17 * k);
        }
    });
    EXPECT_EQ(page, expected);
    EXPECT_GT(std::strlen(TitleWebAddress), 5u);
}

TEST_F(Status, EmptyNameLeavesItsRowBlankButItsScoreIsDrawn) {
    Game.HighScoreTable[4].Name[0] = 0;
    Game.HighScoreTable[4].Score = 0;
    DrawTitlePage();
    const int32_t top = 100 + 17 * 4;
    EXPECT_EQ(LitIn(BackBuffer, 0, top, 300, top + 12), 0);
    EXPECT_GT(LitIn(BackBuffer, 0, top - 17, 300, top - 5), 0); // the row above has its name
    std::vector<uint8_t> title = BackBuffer->Pixels;
    ClearAllSurfaces();
    DrawTextRight(BackBuffer, "000000", Black, Rgb(200, 100, 100), 375, top);
    for (int32_t y = top; y < top + 13; ++y)
        for (int32_t x = 300; x < 400; ++x) {
            size_t at = static_cast<size_t>(y) * BackBuffer->Pitch + 4 * x;
            ASSERT_EQ(std::memcmp(&title[at], &BackBuffer->Pixels[at], 4), 0) << x << "," << y;
        }
    EXPECT_GT(LitIn(BackBuffer, 300, top, 399, top + 12), 10);
}

} // namespace
