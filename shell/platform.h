// The few services the game asks of the platform it runs on. Each build (desktop, Windows,
// simulator, tests) links exactly one implementation; the game never calls the OS directly.
#pragma once
#include <cstdint>

// Millisecond clock, read as an unsigned count so that differences survive its wrap-around.
uint32_t ReadMillisecondClock();

// The current time in seconds (what the title page seeds the random generator with).
uint32_t CurrentTimeSeconds();

// Plays a WAVE resource (121..124) once and asynchronously; StopSound ends whatever plays.
void PlaySoundResource(int32_t resourceId);
void StopSound();

// One diagnostic line, written as given (most lines end in "\n").
void DebugOutput(const char* line);

// A message box with the stop icon and an OK button, owned by the main window.
void ShowStopMessageBox(const char* text, const char* caption);

// The modal dialogs; no frame runs while one is open.
void ShowAboutDialog();
void ShowOptionsDialog();
void ShowNameDialog(); // edits Game.PlayerName

// Opens a mailto: or web address with the desktop's handler.
void OpenUrl(const char* url);

// Orderly quit (F12): release the display and end the loop; settings are saved on the way.
void QuitProgram();
