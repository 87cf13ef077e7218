// The level-complete panel, the completion bonus and the wait for the next level.
#pragma once

void LevelTally();
void AwaitNextLevel();
