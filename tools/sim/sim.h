// The headless simulator: the real game loop on the software display with a clock that
// advances 17 ms per frame, scripted key events or a recorded game, an in-memory settings
// store, and PNG and JSON output. The command-line tool is a thin wrapper around
// RunSimulator; tests drive the same engine through StartSimulation and RunSimFrame.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shell/demo.h"

struct Surface;

struct ShotRequest {
    int32_t Frame = 0;
    std::string Path;
};

struct SettingValue {
    std::string Name;
    int32_t Value = 0;
};

struct SimOptions {
    int32_t Frames = 1000;
    int32_t FramesGiven = 0;
    uint32_t TimeSeconds = 0;
    Demo Script; // a key script (no header) or a recorded game
    std::string ScriptPath;
    int32_t IsDemo = 0;
    std::vector<SettingValue> Settings;
    int32_t HasName = 0;
    std::string Name;
    int32_t Depth = 32;
    int32_t DepthGiven = 0;
    std::vector<ShotRequest> Shots;
    std::string StatePath;
    std::string RecordPath;
    std::string TracePath;
    std::vector<std::string> Compare; // two files: compare them and run nothing
    int32_t ShowHelp = 0;
};

constexpr int32_t SimExitOk = 0;
constexpr int32_t SimExitFailure = 1; // an output file could not be written
constexpr int32_t SimExitUsage = 2;   // bad option, setting, script or demo
constexpr int32_t SimExitDiffers = 3; // a replay departed from its recording; states differ

const char* SimUsage();

// Each parser returns 1 on success, or 0 with a one-line message in *error.
int32_t ParseSettingsList(const std::string& text, std::vector<SettingValue>* settings,
                          std::string* error);
int32_t ParseSimOptions(int32_t argc, char** argv, SimOptions* options, std::string* error);

// Stores a validated setting in the game record; 0 for an unknown name.
int32_t ApplySetting(const SettingValue& setting);

// Starts the program as the real one does, from a fresh record, platform and display, and
// starts playing the script or demo (tests may add events to Demos.Playback.Events as they
// go). Returns 1, or 0 with a message in *error when an output cannot be opened.
int32_t StartSimulation(const SimOptions& options, std::string* error = nullptr);
// Applies the events due and runs one frame; 0 once a demo has ended or the game has quit.
int32_t RunSimFrame();

// Compares two state dumps or two traces of the same game and describes every difference
// (for traces: the first frame at which they part, and what differs there). Returns 1 when
// they are the same, 0 when they differ, -1 when a file cannot be read as either.
int32_t CompareStateFiles(const std::string& expected, const std::string& actual,
                          std::string* report);

// The picture on a surface, converted to RGB, as an 8-bit RGB PNG; 1 on success, else 0
// with the reason in *problem.
int32_t WriteSurfacePng(const Surface* surface, const std::string& path, std::string* problem);

// Output files: 1 when path can be written (nothing is left behind by the try), and writing
// bytes to it; else 0 with the reason (the system's error text) in *problem.
int32_t CheckOutputPath(const std::string& path, std::string* problem);
int32_t WriteOutputFile(const std::string& path, const std::string& bytes, std::string* problem);

// The whole command-line run; returns the process exit code.
int32_t RunSimulator(int32_t argc, char** argv);
