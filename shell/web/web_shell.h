// What the pieces of the browser build share: the page's events, the loop's state and the
// services the modal boxes use. Only shell/web includes emscripten's headers.
#pragma once
#include <cstdint>
#include <deque>

#include "shell/web/web_pacer.h"

struct Surface;

enum class WebEventKind : uint8_t { KeyDown, KeyUp, MouseDown, MouseUp, MouseMove };

struct WebEvent {
    WebEventKind Kind = WebEventKind::KeyDown;
    int32_t VirtualKey = 0; // keys
    uint8_t Character = 0;  // key-down: the character the key types, 0 for none
    uint32_t Modifiers = 0; // keys: Shift, Control and Alt as the pop-ups take them
    int32_t Button = 0;     // mouse: 0 left, 1 middle, 2 right, as the page numbers them
    int32_t X = 0;          // mouse: picture pixels from the picture's top-left corner
    int32_t Y = 0;
};

struct WebShell {
    FramePacer Pacer;
    std::deque<WebEvent> Events; // from the page, waiting for the loop
    int32_t ModalOpen = 0;       // a dialog box or the menu is up: no frame runs
    int32_t ModalRan = 0;        // one was up since the loop last looked
    // Figures for the page's measurements.
    uint32_t Callbacks = 0;
    uint32_t FramesRun = 0;
    int32_t MostFramesInCallback = 0;
    double FirstFrameTime = -1; // page time of the first picture shown
    double FrameMs = 0;         // time spent in the frames and in showing their pictures
};

extern WebShell Web;

// Waits for the browser's next animation callback and returns its page time in ms; the only
// place where the program yields to the page.
double WaitForAnimationFrame();
// Takes the oldest event that waits: 1, or 0 when none does.
int32_t NextEvent(WebEvent* event);
// The key, mouse and visibility handlers of the page.
void InstallPageHandlers();

// The picture: PrimarySurface into the page's canvas.
void ShowPicture();
// A pop-up (dialog box or menu) over the picture: its top-left corner at (x, y) in picture
// pixels, possibly beyond the picture's edges; HidePopup takes it away.
void ShowPopup(const Surface* surface, int32_t x, int32_t y);
void HidePopup();
// Page time in ms.
double PageTime();

// The modal boxes over the picture: a dialog box by template id (its result, -1 when it
// could not be shown), and the right-click menu at a point of the picture (the command
// chosen, 0 for none).
int32_t RunDialog(int32_t templateId);
int32_t RunContextMenu(int32_t x, int32_t y);

// Sound.
void LoadSounds();

// The settings store: with Detached set, values live in memory only and the page's storage
// is neither read nor written (the scripted runs that must match the simulator).
void DetachSettingsStore(int32_t detached);

// Scripted runs (the page's test hook), played by the replays' own player: 1 while a run
// wants more frames, 0 once it has all it asked for.
int32_t ScriptWantsFrame();
// Starts the run the page asked for, if any, from a fresh game as the simulator does.
void StartScriptedRun();
// Answers the name box in a scripted run; 1 when it did.
int32_t AnswerScriptedNameDialog();
int32_t ScriptedRunActive();
uint32_t ScriptedRunTime(); // the current time, in seconds, the run was given
