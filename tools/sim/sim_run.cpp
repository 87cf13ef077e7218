#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/game_state.h"
#include "shell/headless/headless.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "tools/sim/sim.h"
#if __has_include("display/software/art.h")
#include "display/software/art.h"
#define QUORVANEL_SIM_HAS_ART 1
#endif

namespace {

std::vector<std::string> OutputPaths(const SimOptions& options) {
    std::vector<std::string> paths;
    for (const std::string* path : {&options.StatePath, &options.RecordPath, &options.TracePath})
        if (!path->empty()) paths.push_back(*path);
    for (const ShotRequest& shot : options.Shots) paths.push_back(shot.Path);
    return paths;
}

} // namespace

int32_t StartSimulation(const SimOptions& options, std::string* error) {
    ResetGameRecord();
    ResetHeadless();
    ResetDemoSession();
    SettingsStoreFrozen = 0;
    ResetClaimColours();
    Headless.TimeSeconds = options.TimeSeconds;
    if (options.HasName) {
        Headless.NameDialogAnswers = 1;
        Headless.NameDialogText = options.Name;
    }
    std::string ignored;
    if (!error) error = &ignored;

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

    // A demo sets its own start up here; a recording of the run starts from what is then set.
    StartDemoPlayback(options.Script);
    if (!options.TracePath.empty()) {
        Demos.TraceFile = std::fopen(options.TracePath.c_str(), "wb");
        if (!Demos.TraceFile) {
            *error = "cannot write '" + options.TracePath + "'";
            return 0;
        }
    }
    if (!options.RecordPath.empty() &&
        !StartDemoRecording(options.RecordPath, options.Depth, CurrentTimeSeconds(), error))
        return 0;
    return 1;
}

int32_t RunSimFrame() {
    return PlayDemoFrame();
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
    if (!options.Compare.empty()) {
        std::string report;
        int32_t same = CompareStateFiles(options.Compare[0], options.Compare[1], &report);
        std::fputs(report.c_str(), same < 0 ? stderr : stdout);
        return same > 0 ? SimExitOk : same == 0 ? SimExitDiffers : SimExitUsage;
    }
    for (const std::string& path : OutputPaths(options)) {
        std::string problem;
        if (!CheckOutputPath(path, &problem)) {
            std::fprintf(stderr, "quorvanel-sim: cannot write '%s': %s\n", path.c_str(),
                         problem.c_str());
            return SimExitFailure;
        }
    }
    if (!StartSimulation(options, &error)) {
        std::fprintf(stderr, "quorvanel-sim: %s\n",
                     error.empty() ? "start-up failed" : error.c_str());
        return SimExitFailure;
    }

    int32_t result = SimExitOk;
    auto failed = [&](const std::string& path, const std::string& problem) {
        std::fprintf(stderr, "quorvanel-sim: cannot write '%s': %s\n", path.c_str(),
                     problem.c_str());
        result = SimExitFailure;
    };
    std::string problem;
    while (Demos.Frame < options.Frames && RunSimFrame()) {
        for (const ShotRequest& shot : options.Shots)
            if (shot.Frame == Demos.Frame && !WriteSurfacePng(PrimarySurface, shot.Path, &problem))
                failed(shot.Path, problem);
    }
    // A demo played to its end applies the events after its last frame as well.
    if (options.IsDemo && Demos.Frame >= options.Script.EndFrame - 1) RunSimFrame();
    FinishDemoRecording();
    if (Demos.RecordFailed) failed(options.RecordPath, std::strerror(errno ? errno : EIO));
    if (Demos.TraceFile && std::fflush(Demos.TraceFile) != 0)
        failed(options.TracePath, std::strerror(errno));
    if (!options.StatePath.empty() &&
        !WriteOutputFile(options.StatePath, GameStateJson(), &problem))
        failed(options.StatePath, problem);
    if (Demos.DesyncFrame) {
        std::fprintf(stderr, "quorvanel-sim: %s: desync: %s\n", options.ScriptPath.c_str(),
                     Demos.DesyncMessage.c_str());
        if (result == SimExitOk) result = SimExitDiffers;
    }
    ResetDemoSession();
    return result;
}
