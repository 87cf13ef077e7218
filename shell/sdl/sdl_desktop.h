// The desktop window's comforts: a scaled, resizable picture, full screen, the pause key,
// game controllers and the remembered window. Only shell/sdl includes SDL.
#pragma once
#include <SDL.h>

#include <cstdint>

// The picture's geometry (sdl_layout.cpp).
constexpr int32_t MaxWindowScale = 16;
struct PictureLayout {
    int32_t Scale = 1;
    SDL_Rect Picture{}; // where the 400x300 picture lands, in the output's pixels
};
// The largest whole-number scale at which the picture fits width x height (at least 1),
// centred; what is left over is border.
PictureLayout LayOutPicture(int32_t width, int32_t height);
// The scale of a new window on a display with the given usable area: the largest whose
// window, frame included, takes about 80 percent of it; the DPI's scale is the lower bound;
// never more than fits the whole usable area; at least 1.
int32_t DefaultWindowScale(int32_t usableWidth, int32_t usableHeight, int32_t dpiScale);
// The largest scale whose window, frame included, fits the whole usable area (at least 1).
int32_t LargestWindowScale(int32_t usableWidth, int32_t usableHeight);
// The rectangles of the 400x300 picture in which frame differs from shown: in each band of
// rows, one per run of changed tiles; returns how many.
constexpr int32_t ChangeBandRows = 20;
constexpr int32_t ChangeTileColumns = 25;
constexpr int32_t ChangedAreasMax = (300 / ChangeBandRows) * (400 / ChangeTileColumns / 2 + 1);
int32_t FindChangedAreas(const uint32_t* shown, const uint32_t* frame, SDL_Rect* areas);

// The main window (sdl_window.cpp).
int32_t ChooseWindowScale(); // for the display the window opens on
uint32_t MainWindowFlags();
void SetDesktopIdentity(); // before SDL starts: the window's class / app-id
// Applies the remembered scale before the window is shown, and full screen after.
void ApplyRememberedSize();
void ApplyRememberedFullScreen();
void HandleMainWindowSize(); // after every size change of the main window
void ToggleFullScreen();
int32_t IsFullScreen();
// The scale the pop-ups use: the main window's current whole-number scale in window units.
int32_t PopupScale();
// The pointer hides in full screen once it has been still for a while.
void WatchPointer(); // once, after SDL has started
void UpdatePointer();

// The main picture (sdl_present.cpp). ShowPrimarySurface in sdl_shell.h shows it whole;
// after a frame, only what the frame changed needs showing again.
int32_t ShowNextFrame();

// The window's values kept in the settings file (sdl_window_settings.cpp). Scale 0: none
// stored, the display decides.
struct RememberedWindowValues {
    int32_t Scale = 0;
    int32_t FullScreen = 0;
};
extern RememberedWindowValues RememberedWindow;

// Pause (sdl_pause.cpp): while paused no frame runs, as while the window is minimised.
int32_t GamePaused();
void TogglePause();

// Keys from several devices (sdl_input.cpp): a key reaches the game as pressed when any
// device presses it, and as released only when no device holds it any more.
constexpr uint8_t KeyboardSource = 1;
constexpr uint8_t GamepadSource = 2;
constexpr int32_t VkP = 'P';
void PressGameKey(int32_t virtualKey, uint8_t source, int32_t repeat);
void ReleaseGameKey(int32_t virtualKey, uint8_t source);

// Game controllers (sdl_gamepad.cpp): the d-pad and the left stick are the cursor keys, A
// is Space, Start is P, Back is Escape.
constexpr int32_t StickDeadZone = 8000; // of 32767
// Opens controllers that have come, closes those gone, and gives the game the presses and
// releases since the last call.
void PollGamepads();
void CloseGamepads();
