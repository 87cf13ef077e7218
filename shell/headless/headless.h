// The platform of the simulator and the tests: a clock that only moves when told, sounds
// and diagnostics recorded instead of played, dialogs answered from a script, and an
// in-memory settings store.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

struct HeadlessPlatform {
    uint32_t ClockMs = 0;
    uint32_t TimeSeconds = 0;
    std::vector<int32_t> SoundsPlayed; // resource ids, in the order started
    int32_t SoundStops = 0;
    std::vector<std::string> DebugLines;
    std::vector<std::pair<std::string, std::string>> MessageBoxes; // text, caption
    std::vector<std::string> UrlsOpened;
    int32_t AboutDialogs = 0;
    int32_t OptionsDialogs = 0;
    int32_t NameDialogs = 0;
    int32_t NameDialogAnswers = 0; // 1: the name dialog is confirmed with NameDialogText
    std::string NameDialogText;
    // What the next Options box is closed with: fields of the game record and their values
    // (none: the box is cancelled).
    std::vector<std::pair<int32_t*, int32_t>> OptionsDialogChoices;
    int32_t QuitRequested = 0;
    int32_t EchoDebug = 0; // also write diagnostics to standard error
};

extern HeadlessPlatform Headless;

struct StoredValue {
    int32_t IsText = 0;
    std::vector<uint8_t> Data;
};

struct MemoryStore {
    int32_t Exists = 0;      // 0 until the first open creates it
    int32_t Unavailable = 0; // 1: open fails
    int32_t OpenCount = 0;
    std::map<std::string, StoredValue> Values;
    std::vector<std::string> WriteOrder; // names in the order written
    std::vector<std::string> ReadOrder;  // names in the order asked for
};

extern MemoryStore SettingsMemory;

// Clears everything recorded and the store.
void ResetHeadless();
