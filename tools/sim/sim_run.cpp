#include <algorithm>
#include <cstdio>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "tools/sim/sim.h"
#if __has_include("display/software/art.h")
#include "display/software/art.h"
#define QUORVANEL_SIM_HAS_ART 1
#endif

SimSession Sim;

namespace {

std::vector<std::string> OutputPaths(const SimOptions& options) {
    std::vector<std::string> paths;
    if (!options.StatePath.empty()) paths.push_back(options.StatePath);
    for (const ShotRequest& shot : options.Shots) paths.push_back(shot.Path);
    return paths;
}

} // namespace

int32_t StartSimulation(const SimOptions& options) {
    ResetGameRecord();
    ResetHeadless();
    Sim = SimSession{};
    Sim.Script = options.Script;
    std::stable_sort(Sim.Script.begin(), Sim.Script.end(),
                     [](const ScriptEvent& a, const ScriptEvent& b) { return a.Frame < b.Frame; });
    Headless.TimeSeconds = options.TimeSeconds;
    if (options.HasName) {
        Headless.NameDialogAnswers = 1;
        Headless.NameDialogText = options.Name;
    }

    // The program's own start-up order: grid, display and art, title state, active
    // window, frame-rate clock, stored settings.
    if (!AllocPlayfield()) return 0;
    ReleaseSoftwareDisplay();
    if (!CreateSoftwareDisplay(options.Depth)) return 0;
#ifdef QUORVANEL_SIM_HAS_ART
    LoadGameArt();
#endif
    ResetToTitle();
    Game.WindowActive = 1;
    Game.FpsStartTime = ReadMillisecondClock();
    LoadSettings();
    for (const SettingValue& setting : options.Settings) ApplySetting(setting);
    return 1;
}

void RunSimFrame() {
    int32_t frame = Sim.Frame + 1;
    while (Sim.NextEvent < Sim.Script.size() && Sim.Script[Sim.NextEvent].Frame <= frame) {
        const ScriptEvent& event = Sim.Script[Sim.NextEvent++];
        if (event.Down)
            HandleKeyDown(event.VirtualKey);
        else
            HandleKeyUp(event.VirtualKey);
    }
    Headless.ClockMs += FrameIntervalMs;
    // The real loop rebuilds the display after a failed frame; here the surfaces cannot
    // be lost, so only the return to the title remains.
    if (UpdateFrame(1) < 0) ResetToTitle();
    Sim.Frame = frame;
    for (; Sim.SoundsSeen < Headless.SoundsPlayed.size(); ++Sim.SoundsSeen)
        Sim.Sounds.push_back({frame, Headless.SoundsPlayed[Sim.SoundsSeen]});
}

int32_t RunSimulator(int32_t argc, char** argv) {
    SimOptions options;
    std::string error;
    if (!ParseSimOptions(argc, argv, &options, &error)) {
        std::fprintf(stderr, "quorvanel-sim: %s\n", error.c_str());
        std::fprintf(stderr, "Try 'quorvanel-sim --help'.\n");
        return SimExitUsage;
    }
    if (options.ShowHelp) {
        std::fputs(SimUsage(), stdout);
        return SimExitOk;
    }
    for (const std::string& path : OutputPaths(options)) {
        std::string problem;
        if (!CheckOutputPath(path, &problem)) {
            std::fprintf(stderr, "quorvanel-sim: cannot write '%s': %s\n", path.c_str(),
                         problem.c_str());
            return SimExitFailure;
        }
    }
    if (!StartSimulation(options)) {
        std::fprintf(stderr, "quorvanel-sim: start-up failed\n");
        return SimExitFailure;
    }

    int32_t result = SimExitOk;
    auto failed = [&](const std::string& path, const std::string& problem) {
        std::fprintf(stderr, "quorvanel-sim: cannot write '%s': %s\n", path.c_str(),
                     problem.c_str());
        result = SimExitFailure;
    };
    std::string problem;
    while (Sim.Frame < options.Frames) {
        RunSimFrame();
        for (const ShotRequest& shot : options.Shots)
            if (shot.Frame == Sim.Frame && !WriteSurfacePng(PrimarySurface, shot.Path, &problem))
                failed(shot.Path, problem);
    }
    if (!options.StatePath.empty() &&
        !WriteOutputFile(options.StatePath, GameStateJson(), &problem))
        failed(options.StatePath, problem);
    return result;
}
