// Recorded games ("demos"): the text format, the recorder and the player that every build
// shares. A demo holds what the game takes from outside: the settings and tables in force at
// the start, the current time that seeds the title balls, the millisecond clock, and every
// input with the frame before which it takes effect (keys, the answers of the name and
// Options boxes, the window being minimised and restored). Played back, it gives the same
// game to the last cell; the checks it carries show where a build departs from it.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "game/game_record.h"

constexpr int32_t DemoVersion = 1;
constexpr const char* DemoMagic = "QUORVANEL-DEMO";

// The eight settings of the Options box, in the order the demo writes them.
constexpr int32_t DemoSettingCount = 8;
extern const char* const DemoSettingNames[DemoSettingCount];
int32_t* DemoSettingField(int32_t index); // the game record's field

struct DemoSetting {
    int32_t Index = 0; // into DemoSettingNames
    int32_t Value = 0;
};

enum class DemoEventKind : uint8_t {
    KeyDown,    // Key
    KeyUp,      // Key
    Options,    // Settings: the Options box closed with these
    Name,       // Text: the name box closed with this name
    Minimise,   // the window was minimised: no frame runs until it is restored
    Restore,    // the window was restored
    Clock,      // Value: the millisecond clock as the frame starts
    ClockLater, // Value: the clock read again later in the frame
    Time,       // Value: the current time in seconds from now on
    Rebuild,    // the display was rebuilt, which sends the game back to the title
    Check,      // Digests: the states after the frames just before this one
    End,        // the recording ends: Frame - 1 frames ran
};

struct DemoEvent {
    int32_t Frame = 0; // takes effect just before this frame runs; frame 1 is the first
    DemoEventKind Kind = DemoEventKind::KeyDown;
    int32_t Key = 0;    // a virtual-key code
    uint32_t Value = 0; // milliseconds or seconds
    std::vector<DemoSetting> Settings;
    std::string Text;
    std::vector<uint8_t> Digests;
    int32_t Line = 0; // where it was read
};

struct Demo {
    int32_t Version = DemoVersion;
    int32_t HasHeader = 0; // 0: a key script, events only, played over whatever is set up
    int32_t Depth = 32;    // of the display the colour table was sampled on
    uint32_t TimeSeconds = 0;
    uint32_t StartClock = 0;           // the clock as the program started its frame-rate count
    std::vector<DemoSetting> Settings; // all eight in a demo
    std::string PlayerName;
    HighScoreEntry HighScores[HighScoreEntries] = {};
    std::vector<DemoEvent> Events; // in frame order
    int32_t EndFrame = 0;          // a demo's end line; 0 for a script
};

// Reading and writing. A demo's first line is "QUORVANEL-DEMO <version>"; a file without it
// is read as a key script, whose events may come in any order (they are sorted by frame).
// With demoOnly set, a script is refused. Returns 1, or 0 with a one-line message.
int32_t ParseDemoText(const std::string& text, const std::string& fileName, int32_t demoOnly,
                      Demo* demo, std::string* error);
int32_t ReadDemoFile(const std::string& path, int32_t demoOnly, Demo* demo, std::string* error);
std::string DemoHeaderText(const Demo& demo); // the magic line and the header lines
std::string DemoEventText(const DemoEvent& event);
std::string QuoteDemoText(const std::string& text);
int32_t ParseDemoKey(const std::string& word, int32_t* virtualKey); // name or 1..255

// What a recording or a playback has to do with the running game. One session per process.
struct SoundStart {
    int32_t Frame = 0;
    int32_t ResourceId = 0;
};

struct DemoSession {
    int32_t Frame = 0; // frames run so far
    std::vector<SoundStart> Sounds;

    // Recording.
    std::FILE* RecordFile = nullptr;
    std::string RecordPath;
    uint32_t RecordedClock = 0; // the clock of the last frame, as the demo knows it
    uint32_t RecordedTime = 0;
    int32_t RecordedWindowActive = 1;
    std::vector<uint8_t> PendingDigests;
    int32_t RecordFailed = 0;

    // Playback.
    int32_t Playing = 0;
    Demo Playback;
    std::size_t NextEvent = 0;
    uint32_t FrameClock = 0; // what the clock reads as the frame starts
    uint32_t LaterClock = 0; // and on later readings in the same frame
    int32_t ClockReads = 0;
    uint32_t TimeSeconds = 0;
    int32_t TimeFromDemo = 0; // 0: a key script that has set no time leaves the platform's
    int32_t Finished = 0;
    uint8_t RecentDigests[64] = {}; // of frames Frame-63 .. Frame, by frame mod 64
    int32_t DesyncFrame = 0;        // the first frame whose check failed, 0 while in step
    std::string DesyncMessage;

    // A trace of every frame, for the tools that compare two replays.
    std::FILE* TraceFile = nullptr;
};

extern DemoSession Demos;

// Starts a fresh session: no recording, no playback, frame 0.
void ResetDemoSession();

// Recording. StartDemoRecording writes the header from the game as it stands (call it once
// the stored settings are loaded); every line is flushed as it is written, so that a demo
// survives a crash up to its last frame. Returns 1, or 0 with a message.
int32_t StartDemoRecording(const std::string& path, int32_t depth, uint32_t timeSeconds,
                           std::string* error);
void FinishDemoRecording(); // writes the end line and closes the file
int32_t DemoRecording();

// Called by the game's own code and the shells at the moments a demo must know of.
void NoteDemoKey(int32_t down, int32_t virtualKey);
void NoteDemoOptions(); // after the Options box has closed
void NoteDemoName();    // after the name box has closed
void NoteDemoWindow(int32_t active);
void NoteDemoRebuild();
void NoteSoundStarted(int32_t resourceId);
// After each frame: counts it, and records or checks it. A tick in which no frame could
// run (the window minimised in a key script) counts all the same.
void NoteFrameRan(int32_t ran = 1);

// The clock and the current time as the game sees them: the demo's while one plays, else
// the platform's own, which a recording notes. Each platform's clock and time go through
// these.
uint32_t DemoClock(uint32_t platformClock);
uint32_t DemoTime(uint32_t platformTime);

// Playback. StartDemoPlayback applies a demo's header (settings, name, table, clock, time)
// to the game as the program has just set it up, and leaves the settings store alone for
// the rest of the playback. PlayDemoFrame applies the events due and runs the next frame;
// it returns 0 (running nothing) once the demo has ended or the game has quit.
void StartDemoPlayback(const Demo& demo);
int32_t PlayDemoFrame();
void StopDemoPlayback(); // hands the game back to the platform's clock and to the player
int32_t DemoPlaying();
// Whether the dialogs are to be shown: not while a recorded game plays, which supplies the
// answers itself (a key script leaves them to the platform).
int32_t DemoShowsDialogs();
