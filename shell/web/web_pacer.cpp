#include "shell/web/web_pacer.h"

#include "game/frame_tick.h"

int32_t FramesDue(FramePacer* pacer, double now) {
    if (!pacer->Started) {
        pacer->Started = 1;
        pacer->NextDue = now;
    }
    int32_t frames = 0;
    while (frames < MaxFramesPerCallback && now >= pacer->NextDue) {
        ++frames;
        pacer->NextDue += FrameIntervalMs;
    }
    const double owedUntil = pacer->NextDue + (MaxFramesOwed - 1) * FrameIntervalMs;
    if (now >= owedUntil) {
        // Whole frames, so that the clock stays on the 17 ms grid of the frames before.
        auto skipped = static_cast<uint32_t>((now - owedUntil) / FrameIntervalMs) + 1;
        pacer->NextDue += static_cast<double>(skipped) * FrameIntervalMs;
        if (!pacer->Steady) pacer->Clock += skipped * FrameIntervalMs;
    }
    return frames;
}

uint32_t AdvanceFrameClock(FramePacer* pacer) {
    pacer->Clock += FrameIntervalMs;
    return pacer->Clock;
}

void RestartPacer(FramePacer* pacer) {
    pacer->Started = 0;
}
