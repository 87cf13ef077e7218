// The platform services of the desktop build.
#include <cstdio>
#include <ctime>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/dialogs.h"
#include "shell/platform.h"
#include "shell/sdl/sdl_shell.h"
#include "shell/settings.h"

// A demo being played sets the clock and the time; one being recorded notes them.
uint32_t ReadMillisecondClock() {
    return DemoClock(SDL_GetTicks());
}

uint32_t CurrentTimeSeconds() {
    return DemoTime(static_cast<uint32_t>(std::time(nullptr)));
}

void DebugOutput(const char* line) {
    std::fputs(line, stderr);
}

void ShowStopMessageBox(const char* text, const char* caption) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, caption, text, Shell.Window);
}

void ShowAboutDialog() {
    RunDialog(AboutDialogId);
}

void ShowOptionsDialog() {
    RunDialog(OptionsDialogId);
}

void ShowNameDialog() {
    RunDialog(NameDialogId);
}

void OpenUrl(const char* url) {
    // A missing handler is no concern of the game's.
    SDL_OpenURL(url);
}

void ShutDownDisplay() {
    DestroyPresenter();
    ReleaseSoftwareDisplay();
    if (Shell.Window) SDL_DestroyWindow(Shell.Window);
    Shell.Window = nullptr;
    Game.MainWindow = nullptr;
}

// What the destruction of the main window does: delete the font, save, and leave the loop.
void SaveAndQuit() {
    DeleteTextFont();
    if (SettingsLoaded) SaveSettings();
    Shell.Running = 0;
}

void QuitProgram() {
    if (Playfield) FreePlayfield();
    ShutDownDisplay();
    SaveAndQuit();
}
