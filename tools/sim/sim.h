// The headless simulator: the real game loop on the software display with a clock that
// advances 17 ms per frame, scripted key events, an in-memory settings store, and PNG and
// JSON output. The command-line tool is a thin wrapper around RunSimulator; tests drive
// the same engine through StartSimulation and RunSimFrame.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Surface;

struct ScriptEvent {
    int32_t Frame = 0; // applied just before this frame runs
    int32_t Down = 1;  // 1 key down, 0 key up
    int32_t VirtualKey = 0;
};

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
    uint32_t TimeSeconds = 0;
    std::string ScriptPath;
    std::vector<ScriptEvent> Script;
    std::vector<SettingValue> Settings;
    int32_t HasName = 0;
    std::string Name;
    int32_t Depth = 32;
    std::vector<ShotRequest> Shots;
    std::string StatePath;
    int32_t ShowHelp = 0;
};

struct SoundEvent {
    int32_t Frame = 0;
    int32_t ResourceId = 0;
};

// The running simulation: frames run so far, the script still to apply, and the sounds
// started, each with the frame in which it started.
struct SimSession {
    int32_t Frame = 0;
    std::vector<ScriptEvent> Script; // sorted by frame, file order kept within a frame
    std::size_t NextEvent = 0;
    std::vector<SoundEvent> Sounds;
    std::size_t SoundsSeen = 0;
};

extern SimSession Sim;

constexpr int32_t SimExitOk = 0;
constexpr int32_t SimExitFailure = 1; // an output file could not be written
constexpr int32_t SimExitUsage = 2;   // bad option, setting or script

const char* SimUsage();

// Each parser returns 1 on success, or 0 with a one-line message in *error.
int32_t ParseKeyName(const std::string& word, int32_t* virtualKey);
int32_t ParseScriptText(const std::string& text, const std::string& fileName,
                        std::vector<ScriptEvent>* events, std::string* error);
int32_t ParseSettingsList(const std::string& text, std::vector<SettingValue>* settings,
                          std::string* error);
int32_t ParseSimOptions(int32_t argc, char** argv, SimOptions* options, std::string* error);

// Stores a validated setting in the game record; 0 for an unknown name.
int32_t ApplySetting(const SettingValue& setting);

// Starts the program as the real one does, from a fresh record, platform and display.
int32_t StartSimulation(const SimOptions& options);
// Applies the script events due, runs one frame and records the sounds it started.
void RunSimFrame();

// The end-of-run dump of the game record, movers, tables and sounds.
std::string GameStateJson();
std::string JsonEscape(const char* text);

// The picture on a surface, converted to RGB, as an 8-bit RGB PNG; 1 on success, else 0
// with the reason in *problem.
int32_t WriteSurfacePng(const Surface* surface, const std::string& path, std::string* problem);

// Output files: 1 when path can be written (nothing is left behind by the try), and writing
// bytes to it; else 0 with the reason (the system's error text) in *problem.
int32_t CheckOutputPath(const std::string& path, std::string* problem);
int32_t WriteOutputFile(const std::string& path, const std::string& bytes, std::string* problem);

// The whole command-line run; returns the process exit code.
int32_t RunSimulator(int32_t argc, char** argv);
