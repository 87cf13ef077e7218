#include "game/level_tally.h"

#include <cstdio>

#include "display/draw.h"
#include "display/status.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "game/life_cycle.h"
#include "movers/balls.h"

namespace {

constexpr uint32_t PanelPen = Rgb(200, 0, 100);
constexpr uint32_t PanelText = Rgb(255, 128, 15);
constexpr uint32_t PanelBackground = 0;
constexpr int32_t PanelCentreX = 200;
constexpr int32_t PointsPerPercent = 400;

void PanelLine(const char* text, int32_t y) {
    DrawTextCentred(BackBuffer, text, PanelBackground, PanelText, PanelCentreX, y);
}

} // namespace

void LevelTally() {
    if (Game.BonusLife == 0) {
        ++Game.Lives;
        ShowLives();
    }
    int32_t percentOver = Game.PercentComplete - LevelGoalPercent;
    int32_t completionBonus = percentOver * PointsPerPercent;

    DrawRectangle(BackBuffer, PanelPen, 50, 86, 300, 200, 5);
    char line[64];
    PanelLine("Congratulations!", 100);
    std::snprintf(line, sizeof line, "Level : %d", static_cast<int>(Game.Level));
    PanelLine(line, 130);
    std::snprintf(line, sizeof line, "%d%%Complete.", static_cast<int>(Game.PercentComplete));
    PanelLine(line, 160);
    std::snprintf(line, sizeof line, "Completion Bonus = %d x 400", static_cast<int>(percentOver));
    PanelLine(line, 190);
    std::snprintf(line, sizeof line, "Total : %04ld", static_cast<long>(completionBonus));
    PanelLine(line, 220);
    PanelLine("Hit Space To Continue", 250);

    Game.Score += completionBonus;
    ShowScore();
    ++Game.Level;
    Game.GameState = StateTallyShown;
}

void AwaitNextLevel() {
    SpareBallsStep();
    if (Game.LastKey != KeySpace) return;
    ClearLastKey();
    ClearAllSurfaces();
    ResetPlayer();
    StartLevel();
}
