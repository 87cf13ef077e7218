// The desktop build's command line: recording a game, playing one back in the window, and
// timing one with nothing shown. Without options the program reads no command line.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/draw.h"
#include "display/software/art.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/game_state.h"
#include "shell/keys.h"
#include "shell/platform.h"
#include "shell/sdl/sdl_shell.h"
#include "shell/settings.h"

namespace {

enum class DesktopMode { Play, Record, PlayDemo };

DesktopMode Mode = DesktopMode::Play;
std::string DemoPath;
Demo LoadedDemo;
int32_t ViewerWindowActive = 1; // the window as the person watching a playback has it
uint32_t LastShownAt = 0;       // when the last frame of a playback ran, by SDL's clock
int32_t Finished = 0;

constexpr int32_t ExitUsage = 2;

const char* Usage() {
    return "Usage: quorvanel [--record FILE | --playdemo FILE | --timedemo FILE | --help]\n"
           "Without options the game starts as usual.\n"
           "\n"
           "  --record FILE     plays as usual and records the game into FILE, line by line\n"
           "  --playdemo FILE   plays a recorded game back in the window at the usual rate;\n"
           "                    Escape stops it and hands the game to you, F12 quits. The\n"
           "                    stored settings and high scores are left as they are.\n"
           "  --timedemo FILE   plays a recorded game as fast as it can, showing nothing,\n"
           "                    and prints the frames, the seconds and the frames a second\n"
           "  --help            this text\n"
           "\n"
           "Exit codes: 0 done, 2 a bad option or a demo that cannot be played (missing,\n"
           "damaged, or of a newer version), 3 a timed demo that departed from its recording.\n";
}

int32_t UsageError(const std::string& message) {
    std::fprintf(stderr, "quorvanel: %s\nTry 'quorvanel --help'.\n", message.c_str());
    return ExitUsage;
}

// QUORVANEL_STATE_FILE and QUORVANEL_TRACE_FILE let tests compare a run with a replay.
void OpenTraceIfAsked() {
    const char* path = std::getenv("QUORVANEL_TRACE_FILE");
    if (path && *path) Demos.TraceFile = std::fopen(path, "wb");
}

// Once: at the end of a playback, else at quit.
void WriteStateIfAsked() {
    static int32_t written = 0;
    const char* path = std::getenv("QUORVANEL_STATE_FILE");
    if (!path || !*path || written++) return;
    std::FILE* out = std::fopen(path, "wb");
    std::string json = GameStateJson();
    if (!out || std::fwrite(json.data(), 1, json.size(), out) != json.size())
        std::fprintf(stderr, "quorvanel: cannot write the state to '%s'\n", path);
    if (out) std::fclose(out);
}

void ReportDesync() {
    if (Demos.DesyncFrame)
        std::fprintf(stderr, "quorvanel: %s: desync: %s\n", DemoPath.c_str(),
                     Demos.DesyncMessage.c_str());
}

// The playback is over, at its end or by Escape: the game is the player's from the title on,
// with the player's own settings and table.
void HandOverToPlayer() {
    if (!DemoPlaying()) return;
    std::fprintf(stderr, "quorvanel: %s: %s after %d frames\n", DemoPath.c_str(),
                 Demos.Finished ? "ended" : "stopped", static_cast<int>(Demos.Frame));
    ReportDesync();
    WriteStateIfAsked();
    StopDemoPlayback();
    Mode = DesktopMode::Play;
    // The demo's settings and table give way to what the player has stored (or, with nothing
    // stored yet, to the built-in values, which the first load then stores).
    const GameRecord builtIn;
    Game.PlayerSpeed = builtIn.PlayerSpeed;
    Game.EnemySpeed = builtIn.EnemySpeed;
    Game.BallSpeed = builtIn.BallSpeed;
    Game.BonusLife = builtIn.BonusLife;
    Game.Sounds = builtIn.Sounds;
    Game.RandomGame = builtIn.RandomGame;
    Game.RespawnFlag = builtIn.RespawnFlag;
    Game.RespawnTime = builtIn.RespawnTime;
    std::memcpy(Game.PlayerName, builtIn.PlayerName, sizeof Game.PlayerName);
    std::memcpy(Game.HighScoreTable, builtIn.HighScoreTable, sizeof Game.HighScoreTable);
    LoadSettings();
    ResetToTitle();
    Game.WindowActive = ViewerWindowActive;
    Game.LastFrameTime = ReadMillisecondClock();
    Game.FpsStartTime = Game.LastFrameTime;
    Game.FrameCount = 0;
}

// The whole of --timedemo: the game's own start-up without a window, then every frame of the
// demo as fast as it will go.
int32_t RunTimeDemo() {
    if (!AllocPlayfield() || !CreateSoftwareDisplay(LoadedDemo.Depth) || !LoadGameArt()) {
        std::fprintf(stderr, "quorvanel: the display could not be set up\n");
        return 1;
    }
    OpenTraceIfAsked();
    SoftwareDisplayUnseen = 1; // no window: the frames need not be presented anywhere
    ResetToTitle();
    Game.WindowActive = 1;
    Game.FpsStartTime = ReadMillisecondClock();
    StartDemoPlayback(LoadedDemo);
    // QUORVANEL_STOP_FRAME ends the run after that frame, as the simulator's --frames does,
    // so that a desync hunt can look at the state where the replays part.
    const char* stopText = std::getenv("QUORVANEL_STOP_FRAME");
    const int32_t stop = stopText ? std::atoi(stopText) : 0;
    auto start = std::chrono::steady_clock::now();
    while ((stop <= 0 || Demos.Frame < stop) && PlayDemoFrame()) {
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int32_t frames = Demos.Frame;
    std::printf("%d frames, %.3f seconds, %.0f frames a second\n", static_cast<int>(frames),
                seconds, seconds > 0 ? frames / seconds : 0.0);
    WriteStateIfAsked();
    ReportDesync();
    int32_t code = Demos.DesyncFrame ? 3 : 0;
    ResetDemoSession();
    ReleaseSoftwareDisplay();
    FreePlayfield();
    return code;
}

} // namespace

int32_t StartFromCommandLine(int32_t argc, char** argv) {
    std::string option = argv[1];
    if (option == "--help" || option == "-h") {
        if (argc > 2) return UsageError("--help takes nothing more");
        std::fputs(Usage(), stdout);
        return 0;
    }
    if (option != "--record" && option != "--playdemo" && option != "--timedemo")
        return UsageError("unknown option '" + option + "'");
    if (argc < 3) return UsageError(option + " needs a file");
    if (argc > 3) return UsageError("one option at a time: '" + std::string(argv[3]) + "'");
    DemoPath = argv[2];
    if (option == "--record") {
        // Said now, before any window: a demo that could not be written.
        std::FILE* probe = std::fopen(DemoPath.c_str(), "wb");
        if (!probe) {
            std::fprintf(stderr, "quorvanel: cannot write the demo '%s': %s\n", DemoPath.c_str(),
                         std::strerror(errno));
            return ExitUsage;
        }
        std::fclose(probe);
        Mode = DesktopMode::Record;
        return -1;
    }
    std::string error;
    if (!ReadDemoFile(DemoPath, 1, &LoadedDemo, &error)) {
        std::fprintf(stderr, "quorvanel: %s\n", error.c_str());
        return ExitUsage;
    }
    if (option == "--timedemo") return RunTimeDemo();
    Mode = DesktopMode::PlayDemo;
    // Nothing is read from or written to the store until the player takes over.
    SettingsStoreFrozen = 1;
    return -1;
}

int32_t BeginDesktopDemo() {
    OpenTraceIfAsked();
    if (Mode == DesktopMode::Record) {
        std::string error;
        if (!StartDemoRecording(DemoPath, Shell.Depth, CurrentTimeSeconds(), &error)) {
            std::fprintf(stderr, "quorvanel: %s\n", error.c_str());
            return 0;
        }
    } else if (Mode == DesktopMode::PlayDemo) {
        // The colour table is sampled in the demo's depth, whatever the desktop's.
        if (LoadedDemo.Depth != Shell.Depth) {
            Shell.Depth = LoadedDemo.Depth;
            ReleaseSoftwareDisplay();
            if (!CreateSoftwareDisplay(Shell.Depth) || !LoadGameArt()) return 0;
        }
        StartDemoPlayback(LoadedDemo);
        LastShownAt = SDL_GetTicks();
    }
    return 1;
}

int32_t DemoTakesKey(int32_t virtualKey, int32_t down) {
    if (Mode == DesktopMode::Record && down && virtualKey == VkF12) FinishDesktopDemo();
    if (!DemoPlaying()) return 0;
    if (down && virtualKey == VkEscape) {
        HandOverToPlayer();
        return 1;
    }
    if (down && virtualKey == VkF12) {
        FinishDesktopDemo();
        return 0; // the game quits as usual; nothing is saved while the store is frozen
    }
    return 1;
}

void SetWindowActive(int32_t active) {
    ViewerWindowActive = active;
    if (DemoPlaying()) return; // the demo says when its window was minimised
    Game.WindowActive = active;
    NoteDemoWindow(active);
}

void RestartAfterRebuild() {
    // A playback's game does not see the viewer's display trouble.
    if (DemoPlaying()) return;
    ResetToTitle();
    NoteDemoRebuild();
}

int32_t FramesRunning() {
    return DemoPlaying() ? ViewerWindowActive : Game.WindowActive;
}

uint32_t NextFrameDue() {
    return (DemoPlaying() ? LastShownAt : Game.LastFrameTime) + FrameIntervalMs;
}

int32_t RunNextFrame() {
    if (DemoPlaying()) {
        uint32_t now = SDL_GetTicks();
        if (!ViewerWindowActive || now - LastShownAt < static_cast<uint32_t>(FrameIntervalMs))
            return 1;
        LastShownAt = now;
        if (!PlayDemoFrame()) HandOverToPlayer();
        return 1;
    }
    uint32_t before = Game.LastFrameTime, framesBefore = Game.FrameCount;
    int32_t result = UpdateFrame(Game.WindowActive);
    if (Game.LastFrameTime != before || Game.FrameCount != framesBefore) NoteFrameRan();
    return result;
}

void FinishDesktopDemo() {
    if (Finished) return;
    Finished = 1;
    WriteStateIfAsked();
    if (DemoRecording()) {
        FinishDemoRecording();
        if (Demos.RecordFailed)
            std::fprintf(stderr, "quorvanel: the demo '%s' could not be written whole\n",
                         DemoPath.c_str());
    }
    if (DemoPlaying()) ReportDesync();
    if (Demos.TraceFile) std::fflush(Demos.TraceFile);
}
