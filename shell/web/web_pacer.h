// Frames paced by the browser's animation callbacks. Each callback runs every frame that is
// due, each at a clock exactly 17 ms after the one before, so the game's 17 ms gate passes
// every time and the game runs 1000/17 frames a second whatever the display's refresh rate.
#pragma once
#include <cstdint>

constexpr int32_t MaxFramesPerCallback = 2;
// Frames a late loop may still owe after a callback: a short stall (a busy machine, a slow
// callback) is made up over the next callbacks; anything longer is skipped.
constexpr int32_t MaxFramesOwed = 6;

struct FramePacer {
    int32_t Steady = 0; // 1: frames are never skipped, only late (the clock of a replay)
    int32_t Started = 0;
    double NextDue = 0; // page time in ms at which the next frame is due
    uint32_t Clock = 0; // the millisecond clock the game reads: that of the last frame
};

// The number of frames to run for a callback at page time now, 0 to MaxFramesPerCallback.
// When that leaves the loop more than MaxFramesOwed frames behind (a long stall, a hidden
// page), the frames beyond are skipped: the clock moves on by them, so the rate the game
// measures shows the loss. A steady pacer forgets them instead and keeps its clock.
int32_t FramesDue(FramePacer* pacer, double now);

// The clock of the next frame to run: 17 ms after the last.
uint32_t AdvanceFrameClock(FramePacer* pacer);

// After a modal box, whose time the game did not see: the next callback runs a frame at
// once, 17 ms on the clock after the last one.
void RestartPacer(FramePacer* pacer);
