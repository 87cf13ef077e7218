#include <gtest/gtest.h>

#include "game/game_record.h"
#include "shell/frame_pacing.h"

namespace {

class Pacer : public ::testing::Test {
  protected:
    void SetUp() override {
        Game = GameRecord{};
        Pacing = FramePacing{};
    }
    // A wait that ran out `late` milliseconds after the frame it waited for was due; the
    // frame then runs, and the next is waited for.
    void Wake(int32_t late) {
        const uint32_t due = Game.LastFrameTime + 17;
        NoteFrameWake(due + late);
        Game.LastFrameTime = due + late;
        NotePacedFrameRan();
    }
};

TEST_F(Pacer, WaitsForAllButTheLastMillisecondBeforeTheFrame) {
    Game.LastFrameTime = 1000;
    EXPECT_EQ(FrameWaitMs(1000), 16);
    EXPECT_EQ(FrameWaitMs(1005), 11);
    EXPECT_EQ(FrameWaitMs(1015), 1);
    // The last millisecond is spun, and a due frame is not waited for at all.
    EXPECT_EQ(FrameWaitMs(1016), 0);
    EXPECT_EQ(FrameDueInMs(1016), 1);
    EXPECT_EQ(FrameDueInMs(1017), 0);
    EXPECT_EQ(FrameDueInMs(5000), 0);
    // The clock wraps around as the gate's unsigned difference does; a clock that went back
    // lets the frame run at once, as the gate does.
    Game.LastFrameTime = 0xFFFFFFF8u;
    EXPECT_EQ(FrameWaitMs(2), 6);
    EXPECT_EQ(FrameDueInMs(9), 0);
    EXPECT_EQ(FrameDueInMs(0xFFFFFFF0u), 0);
}

TEST_F(Pacer, PollsForAWhileOnlyWhileTheWaitsKeepEndingLate) {
    // A quiet system: a second of timely waits, scattered small lateness and one long stall
    // (counted as five) stay below half a millisecond a frame.
    for (int32_t i = 0; i < 60; ++i) Wake(0);
    for (int32_t i = 0; i < 60; ++i) Wake(i % 3 == 0 ? 1 : 0);
    for (int32_t i = 0; i < 60; ++i) Wake(i == 30 ? 200 : i % 10 == 0 ? 4 : 0);
    EXPECT_EQ(Pacing.FramesToPoll, 0);
    EXPECT_EQ(FrameWaitMs(Game.LastFrameTime), 16);

    // Busy cores: waits ending two milliseconds late start polling as soon as they add up to
    // thirty, before the second is over, and the loop no longer waits.
    for (int32_t i = 0; i < 14; ++i) Wake(2);
    EXPECT_EQ(Pacing.FramesToPoll, 0);
    Wake(2); // its frame is the first of the ten seconds polled
    EXPECT_EQ(Pacing.FramesToPoll, 599);
    EXPECT_EQ(FrameWaitMs(Game.LastFrameTime), 0);
    // Ten seconds of frames later it waits again, with a fresh tally.
    for (int32_t i = 0; i < 598; ++i) NotePacedFrameRan();
    EXPECT_EQ(FrameWaitMs(Game.LastFrameTime), 0);
    NotePacedFrameRan();
    EXPECT_EQ(FrameWaitMs(Game.LastFrameTime), 16);
    EXPECT_EQ(Pacing.MillisecondsLate, 0);
    // The tally starts anew each second: 29 late milliseconds a second never poll.
    for (int32_t second = 0; second < 3; ++second)
        for (int32_t i = 0; i < 60; ++i) Wake(i < 29 ? 1 : 0);
    EXPECT_EQ(Pacing.FramesToPoll, 0);
}

TEST_F(Pacer, SpellsOfPollingGrowWhileTheCoresStayBusy) {
    // Late again as soon as waiting resumes: each spell twice as long as the last, up to
    // nearly three minutes.
    for (int32_t spell : {600, 1200, 2400, 4800, 9600, 9600}) {
        for (int32_t i = 0; i < 6; ++i) Wake(5);
        EXPECT_EQ(Pacing.FramesToPoll, spell - 1);
        while (Pacing.FramesToPoll > 0) NotePacedFrameRan();
    }
    // A second of timely waits after a spell: the next spell is a short one again.
    for (int32_t i = 0; i < 60; ++i) Wake(0);
    EXPECT_EQ(Pacing.FramesToPoll, 0);
    for (int32_t i = 0; i < 6; ++i) Wake(5);
    EXPECT_EQ(Pacing.FramesToPoll, 599);
}

} // namespace
