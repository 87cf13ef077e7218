// The frame gate, the per-frame state machine and the timed pause.
#pragma once
#include <cstdint>

constexpr int32_t FrameIntervalMs = 17;
constexpr uint32_t RateIntervalMs = 1000;
constexpr int32_t ReversalDelayFrames = 100;
constexpr int32_t LevelGoalPercent = 75;
constexpr int32_t FrameNotPresented = static_cast<int32_t>(0x887601C2u); // DDERR_SURFACELOST

int32_t UpdateFrame(int32_t active);
void GameTick();
void StartPause(int32_t seconds);
void PauseTick();
int32_t ResetToTitle();
void ClearLastKey();
