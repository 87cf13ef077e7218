// What the pieces of the desktop build share: the main window, its presentation, sound and
// the pop-up windows. Only shell/sdl includes SDL.
#pragma once
#include <SDL.h>

#include <cstdint>
#include <string>

#include "shell/popups/popup_events.h"
#include "shell/window_title.h"

struct Surface;

struct DesktopShell {
    SDL_Window* Window = nullptr;
    SDL_Surface* Picture = nullptr; // the 400x300 picture as the window's surface takes it
    int32_t Scale = 1; // the pop-ups' scale: PopupScale(), kept current by the main loop
    int32_t Depth = 32;
    int32_t Running = 0;
    int32_t RebuildWanted = 0;
    int32_t AudioDevice = 0; // SDL_AudioDeviceID, 0 when the game is silent
};

extern DesktopShell Shell;

// Window and presentation.
// 0 when SDL has fallen back to a video driver that shows nothing and was not asked for.
int32_t VideoDriverShowsWindows();
int32_t DesktopDepth();
int32_t CreatePresenter(); // the picture's surface and Shell.Window's own; 1 or 0
void DestroyPresenter();
// Shows PrimarySurface in the window; 0 when the window has no surface to draw in.
int32_t ShowPrimarySurface();
// Copies any surface into a streaming XRGB8888 texture of its size.
void UploadSurface(SDL_Texture* texture, const Surface* surface);

// SDL keycode and modifiers to the Windows virtual-key code the game's key table expects; 0
// for keys that never reach that table (system keys, keys without a code).
int32_t VirtualKeyFromSdl(SDL_Keycode key, uint16_t modifiers);

// Sound.
void OpenAudio();
void CloseAudio();

// Modal pop-ups over the main window: the platform-free dialog manager and context menu
// (shell/popups), each in a window of its own with a loop that feeds it SDL's events.
int32_t RunDialog(int32_t templateId); // the box's result, -1 when it could not be shown
int32_t RunContextMenu();              // the chosen menu command, 0 for none
void KeepMainWindowPainted();          // repaints the main window during a modal loop

// Shutting down.
void ShutDownDisplay();
void SaveAndQuit();

// Recording and playing back demos (sdl_demo.cpp): the command line, and the loop's hooks.
int32_t StartFromCommandLine(int32_t argc, char** argv); // an exit code, or -1 to start the game
int32_t BeginDesktopDemo(); // once the stored settings are loaded; 0 when it cannot start
int32_t DemoTakesKey(int32_t virtualKey, int32_t down); // 1: the key belongs to the playback
void SetWindowActive(int32_t active); // the window minimised (0) or shown again (1)
void RestartAfterRebuild();           // the title after the display was rebuilt
int32_t FramesRunning();              // 0 while no frame can run (minimised)
uint32_t NextFrameDue();              // by SDL's clock
int32_t RunNextFrame();               // UpdateFrame, or the playback's next frame when due
void FinishDesktopDemo();             // at quit: the recording's end, the state asked for

// The program's sounds, as the desktop build plays them.
int32_t WaveResourceBytes(int32_t id, const uint8_t** data, uint32_t* size); // 1 or 0

// A window of its own for a pop-up, showing a canvas of w x h logical pixels at the
// window's scale.
struct PopupWindow {
    SDL_Window* Window = nullptr;
    SDL_Renderer* Renderer = nullptr;
    SDL_Texture* Texture = nullptr;
};
int32_t OpenPopupWindow(PopupWindow* popup, const char* title, int32_t x, int32_t y, int32_t w,
                        int32_t h, uint32_t flags);
void ShowPopupPicture(PopupWindow* popup, const Surface* canvas);
void ClosePopupWindow(PopupWindow* popup);
void FocusWindow(SDL_Window* window);
// Waits up to the given time for an event: 1 with *event filled, 0 when none came.
int32_t WaitForEvent(SDL_Event* event, int32_t milliseconds);
// SDL's event as the record a pop-up takes when it is the pop-up window's key, typing, mouse
// or close box: 1 with *out filled, else 0.
int32_t PopupEventFromSdl(const SDL_Event& event, const PopupWindow& popup, PopupEvent* out);
