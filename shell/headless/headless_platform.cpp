#include "shell/headless/headless.h"

#include <cstdio>

#include "shell/demo.h"
#include "shell/platform.h"

HeadlessPlatform Headless;

void ResetHeadless() {
    Headless = HeadlessPlatform{};
    SettingsMemory = MemoryStore{};
}

// A demo being played sets the clock and the time; otherwise they are the test's.
uint32_t ReadMillisecondClock() {
    return DemoClock(Headless.ClockMs);
}
uint32_t CurrentTimeSeconds() {
    return DemoTime(Headless.TimeSeconds);
}
void PlaySoundResource(int32_t resourceId) {
    Headless.SoundsPlayed.push_back(resourceId);
}
void StopSound() {
    ++Headless.SoundStops;
}

void DebugOutput(const char* line) {
    Headless.DebugLines.emplace_back(line);
    if (Headless.EchoDebug) std::fputs(line, stderr);
}

void ShowStopMessageBox(const char* text, const char* caption) {
    Headless.MessageBoxes.emplace_back(text, caption);
}

void ShowAboutDialog() {
    ++Headless.AboutDialogs;
}
void ShowOptionsDialog() {
    ++Headless.OptionsDialogs;
    for (const auto& [field, value] : Headless.OptionsDialogChoices) *field = value;
    Headless.OptionsDialogChoices.clear();
}
void OpenUrl(const char* url) {
    Headless.UrlsOpened.emplace_back(url);
}
void QuitProgram() {
    Headless.QuitRequested = 1;
}
