// One frame of play: balls, enemies, player, second steps, bonus life, re-spawn countdown.
#pragma once

void PlayFrameStep();
