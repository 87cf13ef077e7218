// Title, attract, new game, level start, life loss, re-entry, game over.
#pragma once
#include <cstdint>

// WAVE resources.
constexpr int32_t SoundLifeLost = 121;
constexpr int32_t SoundLevelStart = 122;
constexpr int32_t SoundGameOver = 123;
constexpr int32_t SoundSpare = 124;

void TitleTick();
void DrawTitleBackground();
void AttractTick();
void StartNewGame();
void StartLevel();
void DrawLevelScreen();
void SetBallCount();
void ResetPlayer();
void LoseLife();
void ReenterAfterLifeLost();
void ResumePlay();
void GameOver();
void EndGame();
void PlaySoundEffect(int32_t resourceId);
