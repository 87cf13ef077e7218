#include "movers/play_step.h"

#include "display/status.h"
#include "game/game_record.h"
#include "movers/balls.h"
#include "movers/enemies.h"
#include "movers/player.h"

void PlayFrameStep() {
    BallsStep();
    EnemiesStep();
    PlayerStep();
    // One look at the hit flag: a hit during the second steps does not stop the later ones.
    if (Game.PlayerHit == 0) {
        if (Game.BallSpeed != 0) BallsStep();
        if (Game.EnemySpeed != 0) EnemiesStep();
        if (Game.PlayerSpeed != 0) PlayerStep();
    }

    if (Game.BonusLife == 1 && Game.NextBonusScore < Game.Score) {
        ++Game.Lives;
        ShowLives();
        Game.NextBonusScore += 10000;
    }

    if (Game.RespawnFlag == 0) return;
    if (Game.EnemySpawnTimer > 0) --Game.EnemySpawnTimer;
    int32_t seconds = Game.EnemySpawnTimer / FramesPerSecondOfGame;
    if (seconds != Game.EnemySpawnSeconds) {
        Game.EnemySpawnSeconds = seconds;
        ShowEnemies();
    }
    if (Game.EnemySpawnTimer <= 0) SpawnEnemy();
}
