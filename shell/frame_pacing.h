// When the message loop waits between frames. A loop that waits for the next message or the
// next frame, whichever comes first, takes next to no processor time; but a wait can end
// late, and a late frame is never made up (the next one is due 17 ms after it). The last
// millisecond before a frame is therefore spun on the clock, and while the system keeps
// waking the game late (every core busy) the loop polls for a while instead, as a loop
// without waits does: waiting must never cost frames that polling would have run. Each time
// the waits that follow a spell of polling are late again, the next spell is twice as long.
#pragma once
#include <cstdint>

constexpr int32_t PacingTallyWaits = 60;    // wake-ups tallied at a time: about a second
constexpr int32_t PacingLateMsToPoll = 30;  // their lateness that starts polling: 0.5 ms a frame
constexpr int32_t PacingLateMsAtMost = 5;   // counted of any one wake-up
constexpr int32_t PacingPolledFrames = 600; // frames of the first spell of polling: ten seconds
constexpr int32_t PacingPolledFramesMost = 9600; // and of the longest: nearly three minutes

struct FramePacing {
    int32_t WaitsTallied = 0;
    int32_t MillisecondsLate = 0; // summed over the tallied wake-ups
    int32_t FramesToPoll = 0;
    int32_t SpellFrames = PacingPolledFrames; // the next spell of polling
    int32_t AfterSpell = 0; // 1 while the first tally after a spell of polling runs
};
extern FramePacing Pacing;

// Milliseconds until the frame gate lets the next frame run, 0 when it would now. Reads
// Game.LastFrameTime.
int32_t FrameDueInMs(uint32_t now);
// How long the loop may wait for a message now, in milliseconds, leaving the millisecond
// before the frame to spin: 0 when it is not to wait (the frame is due within a millisecond,
// or the loop polls).
int32_t FrameWaitMs(uint32_t now);
// After a wait that ran out: the clock when it ended.
void NoteFrameWake(uint32_t now);
// After each turn of the loop that ran a frame.
void NotePacedFrameRan();
