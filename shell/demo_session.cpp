// Recording a game as a demo, and playing one back through the game's own code.
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/game_state.h"
#include "shell/keys.h"
#include "shell/platform.h"
#include "shell/settings.h"

DemoSession Demos;

namespace {

constexpr std::size_t DigestsPerCheck = 32;

void WriteDemoLine(const std::string& text) {
    if (!Demos.RecordFile || Demos.RecordFailed) return;
    if (std::fputs(text.c_str(), Demos.RecordFile) < 0 || std::fflush(Demos.RecordFile) != 0)
        Demos.RecordFailed = 1;
}

void RecordEvent(DemoEvent event) {
    if (!Demos.RecordFile) return;
    event.Frame = Demos.Frame + 1;
    WriteDemoLine(DemoEventText(event));
}

void RecordPendingDigests() {
    if (Demos.PendingDigests.empty()) return;
    DemoEvent check;
    check.Kind = DemoEventKind::Check;
    check.Digests = Demos.PendingDigests;
    Demos.PendingDigests.clear();
    RecordEvent(check);
}

std::vector<DemoSetting> CurrentSettings() {
    std::vector<DemoSetting> settings;
    for (int32_t i = 0; i < DemoSettingCount; ++i) settings.push_back({i, *DemoSettingField(i)});
    return settings;
}

void SetPlayerName(const std::string& name) {
    std::memset(Game.PlayerName, 0, sizeof Game.PlayerName);
    std::memcpy(Game.PlayerName, name.data(),
                std::min<std::size_t>(name.size(), PlayerNameSize - 1));
}

// The recorded digests of the frames before this check, against those the playback made.
void CompareCheck(const DemoEvent& check) {
    if (Demos.DesyncFrame) return;
    auto count = static_cast<int32_t>(check.Digests.size());
    for (int32_t k = 0; k < count; ++k) {
        int32_t frame = check.Frame - count + k;
        // Frames older than the ring, or not yet run, cannot be compared.
        if (frame > Demos.Frame || frame <= Demos.Frame - 64 || frame < 1) continue;
        uint8_t mine = Demos.RecentDigests[frame % 64];
        if (mine == check.Digests[k]) continue;
        Demos.DesyncFrame = frame;
        char text[160];
        std::snprintf(text, sizeof text,
                      "the state after frame %d differs from the recording's (digest %02x, "
                      "recorded %02x; line %d)",
                      static_cast<int>(frame), mine, check.Digests[k],
                      static_cast<int>(check.Line));
        Demos.DesyncMessage = text;
        return;
    }
}

void ApplyDemoEvent(const DemoEvent& event) {
    switch (event.Kind) {
    case DemoEventKind::KeyDown: HandleKeyDown(event.Key); break;
    case DemoEventKind::KeyUp: HandleKeyUp(event.Key); break;
    case DemoEventKind::Options:
        for (const DemoSetting& s : event.Settings) *DemoSettingField(s.Index) = s.Value;
        NoteDemoOptions();
        break;
    case DemoEventKind::Name:
        SetPlayerName(event.Text);
        NoteDemoName();
        break;
    case DemoEventKind::Minimise:
        Game.WindowActive = 0;
        NoteDemoWindow(0);
        break;
    case DemoEventKind::Restore:
        Game.WindowActive = 1;
        NoteDemoWindow(1);
        break;
    case DemoEventKind::Clock: Demos.FrameClock = event.Value; break;
    case DemoEventKind::ClockLater: Demos.LaterClock = event.Value; break;
    case DemoEventKind::Time:
        Demos.TimeSeconds = event.Value;
        Demos.TimeFromDemo = 1;
        break;
    case DemoEventKind::Rebuild:
        ResetToTitle();
        NoteDemoRebuild();
        break;
    case DemoEventKind::Check: CompareCheck(event); break;
    case DemoEventKind::End: break;
    }
}

} // namespace

void ResetDemoSession() {
    if (Demos.RecordFile) std::fclose(Demos.RecordFile);
    if (Demos.TraceFile) std::fclose(Demos.TraceFile);
    Demos = DemoSession{};
}

int32_t StartDemoRecording(const std::string& path, int32_t depth, uint32_t timeSeconds,
                           std::string* error) {
    Demos.RecordFile = std::fopen(path.c_str(), "wb");
    if (!Demos.RecordFile) {
        *error = "cannot write the demo '" + path + "': " + std::strerror(errno);
        return 0;
    }
    Demos.RecordPath = path;
    Demo header;
    header.Depth = depth;
    header.TimeSeconds = timeSeconds;
    header.StartClock = Game.FpsStartTime;
    header.Settings = CurrentSettings();
    header.PlayerName = std::string(Game.PlayerName, strnlen(Game.PlayerName, PlayerNameSize));
    std::memcpy(header.HighScores, Game.HighScoreTable, sizeof header.HighScores);
    Demos.RecordedTime = timeSeconds;
    Demos.RecordedClock = Game.FpsStartTime;
    Demos.RecordedWindowActive = Game.WindowActive;
    WriteDemoLine(DemoHeaderText(header));
    return 1;
}

void FinishDemoRecording() {
    if (!Demos.RecordFile) return;
    RecordPendingDigests();
    DemoEvent end;
    end.Kind = DemoEventKind::End;
    RecordEvent(end);
    if (std::fclose(Demos.RecordFile) != 0) Demos.RecordFailed = 1;
    Demos.RecordFile = nullptr;
}

int32_t DemoRecording() {
    return Demos.RecordFile != nullptr;
}

void NoteDemoKey(int32_t down, int32_t virtualKey) {
    // F12 quits; the end line stands for it.
    if (!Demos.RecordFile || (down && virtualKey == VkF12)) return;
    DemoEvent event;
    event.Kind = down ? DemoEventKind::KeyDown : DemoEventKind::KeyUp;
    event.Key = virtualKey;
    RecordEvent(event);
}

void NoteDemoOptions() {
    DemoEvent event;
    event.Kind = DemoEventKind::Options;
    event.Settings = CurrentSettings();
    RecordEvent(event);
}

void NoteDemoName() {
    DemoEvent event;
    event.Kind = DemoEventKind::Name;
    event.Text = std::string(Game.PlayerName, strnlen(Game.PlayerName, PlayerNameSize));
    RecordEvent(event);
}

void NoteDemoWindow(int32_t active) {
    if (!Demos.RecordFile || active == Demos.RecordedWindowActive) return;
    Demos.RecordedWindowActive = active;
    DemoEvent event;
    event.Kind = active ? DemoEventKind::Restore : DemoEventKind::Minimise;
    RecordEvent(event);
}

void NoteDemoRebuild() {
    DemoEvent event;
    event.Kind = DemoEventKind::Rebuild;
    RecordEvent(event);
}

void NoteSoundStarted(int32_t resourceId) {
    Demos.Sounds.push_back({Demos.Frame + 1, resourceId});
}

void NoteFrameRan(int32_t ran) {
    if (Demos.RecordFile) {
        // The clock as this frame read it, when it is not the usual 17 ms on; and the
        // second reading the frame-rate count made, when time passed within the frame. A
        // tick in which no frame ran (the window minimised in a script) moves the clock on.
        DemoEvent event;
        uint32_t expected = Demos.RecordedClock + FrameIntervalMs;
        if (ran && Game.LastFrameTime != expected) {
            event.Kind = DemoEventKind::Clock;
            event.Value = Game.LastFrameTime;
            RecordEvent(event);
        }
        Demos.RecordedClock = ran ? Game.LastFrameTime : expected;
        if (ran && Game.FrameCount == 0 && Game.FpsStartTime != Game.LastFrameTime) {
            event.Kind = DemoEventKind::ClockLater;
            event.Value = Game.FpsStartTime;
            RecordEvent(event);
        }
    }
    ++Demos.Frame;
    // Only a recording and a demo's checks need the digest; a key script has none.
    if (Demos.RecordFile || (Demos.Playing && Demos.Playback.HasHeader)) {
        uint8_t digest = GameStateDigest();
        Demos.RecentDigests[Demos.Frame % 64] = digest;
        if (Demos.RecordFile) {
            Demos.PendingDigests.push_back(digest);
            if (Demos.PendingDigests.size() == DigestsPerCheck) RecordPendingDigests();
        }
    }
    if (Demos.TraceFile) {
        if (Demos.Frame == 1) std::fputs(TraceHeader().c_str(), Demos.TraceFile);
        std::fputs(TraceLine().c_str(), Demos.TraceFile);
    }
}

uint32_t DemoClock(uint32_t platformClock) {
    if (!Demos.Playing) return platformClock;
    return Demos.ClockReads++ == 0 ? Demos.FrameClock : Demos.LaterClock;
}

uint32_t DemoTime(uint32_t platformTime) {
    uint32_t time = Demos.Playing && Demos.TimeFromDemo ? Demos.TimeSeconds : platformTime;
    if (Demos.RecordFile && time != Demos.RecordedTime) {
        Demos.RecordedTime = time;
        DemoEvent event;
        event.Kind = DemoEventKind::Time;
        event.Value = time;
        RecordEvent(event);
    }
    return time;
}

void StartDemoPlayback(const Demo& demo) {
    Demos.Playback = demo;
    Demos.NextEvent = 0;
    Demos.Finished = 0;
    Demos.DesyncFrame = 0;
    Demos.DesyncMessage.clear();
    Demos.ClockReads = 0;
    if (demo.HasHeader) {
        for (const DemoSetting& s : demo.Settings) *DemoSettingField(s.Index) = s.Value;
        SetPlayerName(demo.PlayerName);
        std::memcpy(Game.HighScoreTable, demo.HighScores, sizeof Game.HighScoreTable);
        Game.FpsStartTime = demo.StartClock;
        Demos.TimeSeconds = demo.TimeSeconds;
        Demos.TimeFromDemo = 1;
        Demos.FrameClock = demo.StartClock;
        // What is stored stays as it is: the game's saves go nowhere during the playback.
        SettingsStoreFrozen = 1;
    } else {
        // A script plays over the platform's own start: its clock carries on, 17 ms a
        // frame, and the time is the platform's until the script sets one.
        Demos.TimeFromDemo = 0;
        Demos.FrameClock = ReadMillisecondClock();
    }
    Demos.LaterClock = Demos.FrameClock;
    Demos.Playing = 1;
}

int32_t PlayDemoFrame() {
    if (!Demos.Playing || Demos.Finished) return 0;
    const Demo& demo = Demos.Playback;
    int32_t frame = Demos.Frame + 1;
    uint32_t previousClock = Demos.FrameClock;
    Demos.FrameClock = previousClock + FrameIntervalMs;
    int32_t laterGiven = 0;
    while (Demos.NextEvent < demo.Events.size() && demo.Events[Demos.NextEvent].Frame <= frame) {
        const DemoEvent& event = demo.Events[Demos.NextEvent++];
        laterGiven |= event.Kind == DemoEventKind::ClockLater;
        ApplyDemoEvent(event);
        if (!Playfield) break; // F12 in a script: the program has quit
    }
    if (!laterGiven) Demos.LaterClock = Demos.FrameClock;
    // The end line: its events are in, and no frame of that number runs.
    if ((demo.HasHeader && frame >= demo.EndFrame) || !Playfield) {
        Demos.FrameClock = previousClock;
        Demos.Finished = 1;
        return 0;
    }
    Demos.ClockReads = 0;
    uint32_t before = Game.LastFrameTime;
    // The surfaces of a replay are never lost; a frame that could not be shown still sends
    // the game back to the title, as the real loop does.
    if (UpdateFrame(Game.WindowActive) < 0) ResetToTitle();
    NoteFrameRan(Game.LastFrameTime != before);
    return 1;
}

void StopDemoPlayback() {
    if (!Demos.Playing) return;
    Demos.Playing = 0;
    SettingsStoreFrozen = 0;
}

int32_t DemoPlaying() {
    return Demos.Playing;
}

int32_t DemoShowsDialogs() {
    return !(Demos.Playing && Demos.Playback.HasHeader);
}
