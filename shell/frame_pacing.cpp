#include "shell/frame_pacing.h"

#include "game/frame_tick.h"
#include "game/game_record.h"

FramePacing Pacing;

int32_t FrameDueInMs(uint32_t now) {
    // The gate counts in unsigned differences: a clock that wraps around is no different, and
    // one that went back lets the frame run at once.
    const uint32_t since = now - Game.LastFrameTime;
    return since >= static_cast<uint32_t>(FrameIntervalMs)
               ? 0
               : FrameIntervalMs - static_cast<int32_t>(since);
}

int32_t FrameWaitMs(uint32_t now) {
    if (Pacing.FramesToPoll > 0) return 0;
    const int32_t left = FrameDueInMs(now);
    return left > 1 ? left - 1 : 0;
}

void NoteFrameWake(uint32_t now) {
    // Woken a millisecond before the frame, the wait is on time while the frame is not yet
    // overdue; each millisecond past that is lost. One long stall (the system busy with
    // something else for a moment) counts no more than a few late frames.
    const uint32_t overdue = now - Game.LastFrameTime - FrameIntervalMs;
    if (overdue > 0 && overdue < 0x80000000u)
        Pacing.MillisecondsLate += static_cast<int32_t>(
            overdue < static_cast<uint32_t>(PacingLateMsAtMost) ? overdue : PacingLateMsAtMost);
    if (++Pacing.WaitsTallied < PacingTallyWaits && Pacing.MillisecondsLate < PacingLateMsToPoll)
        return;
    if (Pacing.MillisecondsLate >= PacingLateMsToPoll) {
        if (Pacing.AfterSpell)
            Pacing.SpellFrames = Pacing.SpellFrames * 2 < PacingPolledFramesMost
                                     ? Pacing.SpellFrames * 2
                                     : PacingPolledFramesMost;
        Pacing.FramesToPoll = Pacing.SpellFrames;
    } else {
        Pacing.SpellFrames = PacingPolledFrames;
    }
    Pacing.AfterSpell = 0;
    Pacing.WaitsTallied = 0;
    Pacing.MillisecondsLate = 0;
}

void NotePacedFrameRan() {
    if (Pacing.FramesToPoll > 0 && --Pacing.FramesToPoll == 0) Pacing.AfterSpell = 1;
}
