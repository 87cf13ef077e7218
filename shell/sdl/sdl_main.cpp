// Program entry and the main loop of the desktop build.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "display/draw.h"
#include "display/software/art.h"
#include "display/software/surface.h"
#include "game/frame_tick.h"
#include "game/game_record.h"
#include "playfield/playfield.h"
#include "resources/resources.h"
#include "shell/demo.h"
#include "shell/keys.h"
#include "shell/platform.h"
#include "shell/sdl/sdl_desktop.h"
#include "shell/sdl/sdl_shell.h"
#include "shell/settings.h"

DesktopShell Shell;

namespace {

std::FILE* FrameLog = nullptr; // QUORVANEL_FRAME_LOG: one line per presented frame

void LogFrame() {
    if (!FrameLog) return;
    auto now = std::chrono::system_clock::now().time_since_epoch();
    std::fprintf(
        FrameLog, "%lld %u\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()),
        static_cast<unsigned>(Game.LastFrameTime));
}

int32_t CreateMainWindow() {
    Shell.Scale = ChooseWindowScale();
    Shell.Window =
        SDL_CreateWindow(MainWindowTitle, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         ScreenWidth * Shell.Scale, ScreenHeight * Shell.Scale, MainWindowFlags());
    Game.MainWindow = Shell.Window;
    if (!Shell.Window) return 0;
    SDL_SetWindowMinimumSize(Shell.Window, ScreenWidth, ScreenHeight);
    RememberedWindow.Scale = Shell.Scale;
    // The game's icon, as the Windows build has it from its resources.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(WindowIconRgba), WindowIconSize, WindowIconSize, 32,
        WindowIconSize * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon) {
        SDL_SetWindowIcon(Shell.Window, icon);
        SDL_FreeSurface(icon);
    }
    return 1;
}

// The window, its presenter and the software display with the art, in the desktop's depth.
int32_t InitDisplay() {
    if (!CreateMainWindow()) return 0;
    if (!CreatePresenter()) return 0;
    Shell.Depth = DesktopDepth();
    if (!CreateSoftwareDisplay(Shell.Depth)) return 0;
    return LoadGameArt();
}

// A renderer that has gone, or a window on another display: make the presenter anew and,
// when the frame itself failed, the surfaces and art too. The game restarts at the title.
void RebuildDisplay(int32_t surfacesToo) {
    DestroyPresenter();
    if (surfacesToo) {
        ReleaseSoftwareDisplay();
        if (!Playfield) AllocPlayfield();
        if (!CreateSoftwareDisplay(Shell.Depth) || !LoadGameArt())
            DebugOutput("Reinitialization failed.\n");
    }
    if (!CreatePresenter()) DebugOutput("Reinitialization failed.\n");
    Shell.RebuildWanted = 0;
}

void HandleWindowEvent(const SDL_WindowEvent& e) {
    if (e.windowID != SDL_GetWindowID(Shell.Window)) return;
    switch (e.event) {
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED: SetWindowActive(1); break;
    case SDL_WINDOWEVENT_MINIMIZED: SetWindowActive(0); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        HandleMainWindowSize();
        ShowPrimarySurface();
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        PresentFrame();
        ShowPrimarySurface();
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST: DebugOutput("Active App!\n "); break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED: Shell.RebuildWanted = 1; break;
    case SDL_WINDOWEVENT_CLOSE:
        // The window's own close: save and quit; the display goes with the process.
        SaveAndQuit();
        break;
    default: break;
    }
}

// Without a window manager X may deliver keys before SDL has noted which window has the
// focus; such events carry window id 0 and can only be meant for the main window.
bool ForMainWindow(uint32_t windowId) {
    return windowId == 0 || windowId == SDL_GetWindowID(Shell.Window);
}

int32_t IsEnter(SDL_Keycode key) {
    return key == SDLK_RETURN || key == SDLK_KP_ENTER;
}

int32_t EnterTakenByShell = 0; // Alt+Enter's Enter, whose release the game must not see

void HandleEvent(const SDL_Event& e) {
    switch (e.type) {
    case SDL_QUIT: SaveAndQuit(); break;
    case SDL_WINDOWEVENT: HandleWindowEvent(e.window); break;
    case SDL_KEYDOWN: {
        if (!ForMainWindow(e.key.windowID)) break;
        if (IsEnter(e.key.keysym.sym) && (e.key.keysym.mod & KMOD_ALT)) {
            if (!e.key.repeat) ToggleFullScreen();
            EnterTakenByShell = 1;
            break;
        }
        // Auto-repeat arrives as further key-downs, as the game expects.
        int32_t vk = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.mod);
        if (vk && DemoTakesKey(vk, 1)) break;
        if (vk) PressGameKey(vk, KeyboardSource, e.key.repeat);
        // F2 paints the wall view at once.
        if (Shell.Running && vk == VkF2) ShowPrimarySurface();
        break;
    }
    case SDL_KEYUP: {
        if (IsEnter(e.key.keysym.sym) && EnterTakenByShell) {
            EnterTakenByShell = 0;
            break;
        }
        int32_t vk = VirtualKeyFromSdl(e.key.keysym.sym, e.key.keysym.mod);
        if (vk && ForMainWindow(e.key.windowID) && !DemoTakesKey(vk, 0))
            ReleaseGameKey(vk, KeyboardSource);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_RIGHT && !DemoPlaying() &&
            e.button.windowID == SDL_GetWindowID(Shell.Window)) {
            int32_t command = RunContextMenu();
            if (command) HandleMenuCommand(command);
        }
        break;
    case SDL_RENDER_TARGETS_RESET:
    case SDL_RENDER_DEVICE_RESET: Shell.RebuildWanted = 1; break;
    default: break;
    }
}

// Sleeps until the next frame is due. Events that arrive meanwhile wait in the queue: the
// loop handles all of them before the frame, which is the first thing that can use them.
// The last millisecond is slept in short steps so that the frame starts on the tick it is
// due: the gate of 17 ms then gives exactly 58.8 frames a second.
void WaitForNextFrame(int32_t active) {
    if (!active) {
        SDL_Delay(10); // minimised or paused: no frames, only events to watch for
        return;
    }
    const uint32_t due = NextFrameDue();
    for (;;) {
        auto left = static_cast<int32_t>(due - SDL_GetTicks());
        if (left <= 0 || left > FrameIntervalMs) return;
        if (left >= 2)
            SDL_Delay(static_cast<uint32_t>(left - 1));
        else
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

void RunLoop() {
    int32_t pauseShown = 0;
    while (Shell.Running) {
        SDL_Event e;
        while (Shell.Running && SDL_PollEvent(&e)) HandleEvent(e);
        if (!Shell.Running) break;
        PollGamepads();
        UpdatePointer();
        if (Shell.RebuildWanted) {
            RebuildDisplay(0);
            RestartAfterRebuild();
        }
        // The picture stays as it was; only the note over it comes and goes.
        if (GamePaused() != pauseShown) {
            pauseShown = GamePaused();
            ShowPrimarySurface();
        }
        uint32_t before = Game.LastFrameTime;
        uint32_t framesBefore = Game.FrameCount;
        // Paused, the game stands still as when the window is minimised.
        int32_t active = FramesRunning() && !GamePaused();
        int32_t result = active ? RunNextFrame() : 1;
        if (!Shell.Running) break; // the name box was closed with the program
        if (result < 0) {
            RebuildDisplay(1);
            RestartAfterRebuild();
        } else if (Game.LastFrameTime != before || Game.FrameCount != framesBefore) {
            if (!ShowNextFrame()) Shell.RebuildWanted = 1;
            LogFrame();
        }
        WaitForNextFrame(active);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1) {
        int32_t code = StartFromCommandLine(argc, argv);
        if (code >= 0) return code;
    }
    if (!AllocPlayfield()) return 0;
    if (const char* path = std::getenv("QUORVANEL_FRAME_LOG")) FrameLog = std::fopen(path, "w");
    // A 400x300 picture scaled by a whole number is cheapest as a CPU copy into the
    // window's shared-memory image; a GL context would, on machines without a GPU, bring a
    // software rasteriser and its threads. The environment may still choose otherwise.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_DRIVER, "software", SDL_HINT_DEFAULT);
    SDL_SetHintWithPriority(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0", SDL_HINT_DEFAULT);
    // Where SDL itself stretches the window's image (a high-density output, on which the
    // window's surface is in window units), the pixels stay crisp too.
    SDL_SetHintWithPriority(SDL_HINT_RENDER_SCALE_QUALITY, "nearest", SDL_HINT_OVERRIDE);
    SetDesktopIdentity();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "SDL_Init: %s\n", SDL_GetError());
        return 0;
    }
    if (!VideoDriverShowsWindows()) {
        DebugOutput("no display: set DISPLAY or WAYLAND_DISPLAY\n");
        SDL_Quit();
        return 0;
    }
    if (!InitDisplay()) {
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, "ERROR", "DirectDraw Init FAILED", nullptr);
        ShutDownDisplay();
        SDL_Quit();
        return 0;
    }
    OpenAudio();
    ResetToTitle();
    // The settings come before the window is shown: they hold the window's size.
    LoadSettings();
    ApplyRememberedSize();
    SDL_ShowWindow(Shell.Window);
    ApplyRememberedFullScreen();
    WatchPointer();
    Game.WindowActive = 1;
    Game.FpsStartTime = ReadMillisecondClock();
    Shell.Running = BeginDesktopDemo();
    RunLoop();
    FinishDesktopDemo();

    // F12 has released everything already; the close box leaves it to here.
    ShutDownDisplay();
    if (Playfield) FreePlayfield();
    CloseAudio();
    CloseGamepads();
    if (FrameLog) std::fclose(FrameLog);
    SDL_Quit();
    return 0;
}
