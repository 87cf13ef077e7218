// The browser shell's platform-free pieces: frame pacing, the key map, the WAVE reader.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "game/frame_tick.h"
#include "shell/web/web_keymap.h"
#include "shell/web/web_pacer.h"
#include "shell/web/web_wave.h"

namespace {

struct PacedRun {
    int32_t Frames = 0;
    int32_t MostInOneCallback = 0;
    int32_t ClockSteps = 0; // frames whose clock was not 17 ms after the frame before
};

// Feeds the pacer callbacks at the given page times and runs the frames it asks for.
PacedRun Pace(FramePacer& pacer, const std::vector<double>& times) {
    PacedRun run;
    uint32_t last = pacer.Clock;
    for (double t : times) {
        int32_t due = FramesDue(&pacer, t);
        EXPECT_GE(due, 0);
        run.MostInOneCallback = std::max(run.MostInOneCallback, due);
        for (int32_t i = 0; i < due; ++i) {
            uint32_t clock = AdvanceFrameClock(&pacer);
            if (clock - last != static_cast<uint32_t>(FrameIntervalMs)) ++run.ClockSteps;
            last = clock;
        }
        run.Frames += due;
    }
    return run;
}

std::vector<double> Callbacks(double start, double seconds, double hz, double jitterMs = 0) {
    std::vector<double> times;
    for (int32_t i = 0; i < seconds * hz; ++i) {
        // A fixed pattern of late callbacks: every seventh comes jitterMs late.
        times.push_back(start + i * 1000.0 / hz + (i % 7 == 3 ? jitterMs : 0));
    }
    return times;
}

TEST(WebPacer, RunsFramesAtTheGateRateWhateverTheRefreshRate) {
    for (double hz : {60.0, 59.94, 75.0, 120.0, 144.0, 30.0}) {
        SCOPED_TRACE(hz);
        FramePacer pacer;
        std::vector<double> times = Callbacks(1234.5, 10, hz);
        PacedRun run = Pace(pacer, times);
        // A frame at the first callback and one every 17 ms up to the last.
        EXPECT_NEAR(run.Frames, 1 + (times.back() - times.front()) / FrameIntervalMs, 1.0);
        EXPECT_LE(run.MostInOneCallback, MaxFramesPerCallback);
        EXPECT_EQ(run.ClockSteps, 0);
    }
}

TEST(WebPacer, LateCallbacksCatchUpWithinTwoFrames) {
    FramePacer pacer;
    std::vector<double> times = Callbacks(0, 10, 60, 15);
    PacedRun run = Pace(pacer, times);
    EXPECT_NEAR(run.Frames, 1 + (times.back() - times.front()) / FrameIntervalMs, 1.0);
    EXPECT_EQ(run.MostInOneCallback, 2);
    EXPECT_EQ(run.ClockSteps, 0);
}

TEST(WebPacer, AShortStallIsMadeUpTwoFramesACallback) {
    FramePacer pacer;
    std::vector<double> times = Callbacks(0, 1, 60);
    // 80 ms without a callback, then the callbacks come back on time.
    for (double t = times.back() + 80; t < 3000; t += 1000.0 / 60) times.push_back(t);
    PacedRun run = Pace(pacer, times);
    EXPECT_NEAR(run.Frames, 1 + (times.back() - times.front()) / FrameIntervalMs, 1.0);
    EXPECT_EQ(run.MostInOneCallback, MaxFramesPerCallback);
    EXPECT_EQ(run.ClockSteps, 0);
}

TEST(WebPacer, ALongStallSkipsItsFramesAndMovesTheClockOnTheGrid) {
    FramePacer pacer;
    Pace(pacer, Callbacks(0, 1, 60));
    const uint32_t before = pacer.Clock;
    // Five seconds without callbacks (a hidden page), then the callbacks come back.
    std::vector<double> back;
    for (double t = 6000; t < 6500; t += 1000.0 / 60) back.push_back(t);
    PacedRun run = Pace(pacer, back);
    EXPECT_EQ(run.MostInOneCallback, MaxFramesPerCallback);
    EXPECT_EQ((pacer.Clock - before) % FrameIntervalMs, 0u);
    EXPECT_GT(pacer.Clock - before, 5400u) << "the clock shows the time lost";
    // What is owed is made up, and no more: after half a second the loop is on time.
    EXPECT_LE(run.Frames, 500 / FrameIntervalMs + MaxFramesOwed + 1);
    EXPECT_LE(FramesDue(&pacer, back.back() + 1000.0 / 60), 1);
}

TEST(WebPacer, ASteadyPacerForgetsTheFramesOfAStallWithoutMovingItsClock) {
    FramePacer pacer;
    pacer.Steady = 1;
    std::vector<double> times = Callbacks(0, 1, 60);
    for (double t = 5000; t < 6000; t += 1000.0 / 60) times.push_back(t);
    PacedRun run = Pace(pacer, times);
    EXPECT_EQ(run.ClockSteps, 0);
    EXPECT_EQ(pacer.Clock, static_cast<uint32_t>(run.Frames * FrameIntervalMs));
    EXPECT_LE(run.MostInOneCallback, MaxFramesPerCallback);
}

TEST(WebPacer, RestartRunsAFrameAtOnceWithoutMovingTheClockOn) {
    FramePacer pacer;
    Pace(pacer, Callbacks(0, 1, 60));
    const uint32_t before = pacer.Clock;
    RestartPacer(&pacer);
    EXPECT_EQ(FramesDue(&pacer, 90000), 1); // a minute in a dialog box later
    EXPECT_EQ(AdvanceFrameClock(&pacer) - before, static_cast<uint32_t>(FrameIntervalMs));
}

TEST(WebKeyMap, GameKeysAndWhatTheyMeanInTheUsersLayout) {
    const struct {
        const char* Code;
        const char* Key;
        int32_t Vk;
    } cases[] = {
        {"ArrowLeft", "ArrowLeft", 37},
        {"ArrowUp", "ArrowUp", 38},
        {"ArrowRight", "ArrowRight", 39},
        {"ArrowDown", "ArrowDown", 40},
        {"Space", " ", 32},
        {"Escape", "Escape", 27},
        {"F1", "F1", 112},
        {"F2", "F2", 113},
        {"F5", "F5", 116},
        {"F9", "F9", 120},
        {"F11", "F11", 122},
        {"Enter", "Enter", 13},
        {"NumpadEnter", "Enter", 13},
        {"ShiftRight", "Shift", 16},
        // Letters follow the layout: the key in the place of Q on a French keyboard is A.
        {"KeyQ", "a", 'A'},
        {"KeyA", "A", 'A'},
        {"KeyZ", "ω", 'Z'},
        {"Digit7", "7", '7'},
        {"Digit2", "é", '2'},
        // The keypad without NumLock steers like the cursor keys.
        {"Numpad4", "ArrowLeft", 37},
        {"Numpad4", "4", 100},
        {"Numpad8", "ArrowUp", 38},
        {"Minus", "-", 0xBD},
        // Keys the game never sees.
        {"AltLeft", "Alt", 0},
        {"F10", "F10", 0},
        {"F12", "F12", 0},
        {"Unidentified", "Unidentified", 0},
        {"", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Code);
        EXPECT_EQ(VirtualKeyFromDom(c.Code, c.Key), c.Vk);
    }
    EXPECT_EQ(VirtualKeyFromDom(nullptr, nullptr), 0);
}

TEST(WebKeyMap, CharactersForTheNameBoxAreLatin1Bytes) {
    EXPECT_EQ(CharacterFromDomKey("a"), 'a');
    EXPECT_EQ(CharacterFromDomKey(" "), ' ');
    EXPECT_EQ(CharacterFromDomKey("~"), '~');
    EXPECT_EQ(CharacterFromDomKey("é"), 0xE9);
    EXPECT_EQ(CharacterFromDomKey("ÿ"), 0xFF);
    EXPECT_EQ(CharacterFromDomKey("Enter"), 0);
    EXPECT_EQ(CharacterFromDomKey("€"), 0); // beyond Latin-1
    EXPECT_EQ(CharacterFromDomKey("ω"), 0); // beyond Latin-1
    EXPECT_EQ(CharacterFromDomKey("\x7F"), 0);
    EXPECT_EQ(CharacterFromDomKey("\xC2\x85"), 0); // a C1 control
    EXPECT_EQ(CharacterFromDomKey("\xC3"), 0);     // cut short
    EXPECT_EQ(CharacterFromDomKey(""), 0);
}

// A WAVE file made of chunks, for the reader.
struct WaveBuilder {
    std::vector<uint8_t> Bytes;
    void Put32(uint32_t v) {
        for (int i = 0; i < 4; ++i) Bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void Put16(uint16_t v) {
        Bytes.push_back(static_cast<uint8_t>(v));
        Bytes.push_back(static_cast<uint8_t>(v >> 8));
    }
    void Tag(const char* t) { Bytes.insert(Bytes.end(), t, t + 4); }
    void Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
        Tag("fmt ");
        Put32(16);
        Put16(tag);
        Put16(channels);
        Put32(rate);
        Put32(rate * channels * bits / 8);
        Put16(static_cast<uint16_t>(channels * bits / 8));
        Put16(bits);
    }
    void Chunk(const char* tag, uint32_t length) {
        Tag(tag);
        Put32(length);
        Bytes.insert(Bytes.end(), length + (length & 1), 0x11);
    }
    std::vector<uint8_t> File() {
        std::vector<uint8_t> out;
        WaveBuilder head;
        head.Tag("RIFF");
        head.Put32(static_cast<uint32_t>(Bytes.size() + 4));
        head.Tag("WAVE");
        out = head.Bytes;
        out.insert(out.end(), Bytes.begin(), Bytes.end());
        return out;
    }
};

TEST(WebWave, ReadsPcmAfterOtherChunks) {
    WaveBuilder w;
    w.Chunk("LIST", 5); // odd length: padded
    w.Format(1, 1, 11025, 16);
    w.Chunk("data", 200);
    std::vector<uint8_t> file = w.File();
    WaveSound sound;
    ASSERT_EQ(ReadWave(file.data(), static_cast<uint32_t>(file.size()), &sound), 1);
    EXPECT_EQ(sound.Channels, 1);
    EXPECT_EQ(sound.SampleRate, 11025);
    EXPECT_EQ(sound.FrameCount, 100u);
    EXPECT_EQ(sound.Samples, file.data() + file.size() - 200);

    WaveBuilder stereo;
    stereo.Format(1, 2, 22050, 16);
    stereo.Chunk("data", 400);
    file = stereo.File();
    ASSERT_EQ(ReadWave(file.data(), static_cast<uint32_t>(file.size()), &sound), 1);
    EXPECT_EQ(sound.FrameCount, 100u);
}

TEST(WebWave, RefusesWhatItCannotPlayAndWhatIsCutShort) {
    auto read = [](std::vector<uint8_t> file) {
        WaveSound sound;
        return ReadWave(file.data(), static_cast<uint32_t>(file.size()), &sound);
    };
    WaveBuilder eightBit, compressed, noFormat, surround;
    eightBit.Format(1, 1, 11025, 8);
    eightBit.Chunk("data", 10);
    compressed.Format(2, 1, 11025, 16);
    compressed.Chunk("data", 10);
    noFormat.Chunk("data", 10);
    surround.Format(1, 6, 11025, 16);
    surround.Chunk("data", 12);
    EXPECT_EQ(read(eightBit.File()), 0);
    EXPECT_EQ(read(compressed.File()), 0);
    EXPECT_EQ(read(noFormat.File()), 0);
    EXPECT_EQ(read(surround.File()), 0);

    WaveBuilder good;
    good.Format(1, 1, 11025, 16);
    good.Chunk("data", 64);
    std::vector<uint8_t> file = good.File();
    EXPECT_EQ(read(file), 1);
    // Every cut of the file short of its samples' end is refused, never read past.
    for (std::size_t n = 0; n < file.size(); ++n)
        EXPECT_EQ(read(std::vector<uint8_t>(file.begin(), file.begin() + n)), 0) << n;
    std::vector<uint8_t> notWave = file;
    notWave[8] = 'A';
    EXPECT_EQ(read(notWave), 0);
    WaveSound sound;
    EXPECT_EQ(ReadWave(nullptr, 0, &sound), 0);
}

} // namespace
