// Keys from the keyboard and game controllers and the pause key, on the real game run
// headless. The controller is one of SDL's virtual joysticks.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "game/frame_tick.h"
#include "game/game_record.h"
#include "shell/demo.h"
#include "shell/game_state.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "shell/sdl/sdl_desktop.h"
#include "tools/sim/sim.h"

namespace {

// The dump of the game without the clock's fields, which a pause rightly changes.
std::string StateWithoutClocks() {
    std::istringstream in(GameStateJson());
    std::string line, kept;
    while (std::getline(in, line)) {
        bool clock = false;
        for (const char* name : {"\"LastFrameTime\"", "\"FrameCount\"", "\"FpsStartTime\"",
                                 "\"FramesPerSecond\"", "\"Frame\""})
            clock = clock || line.find(name) != std::string::npos;
        if (!clock) kept += line + "\n";
    }
    return kept;
}

// Runs frames as the desktop loop does, none while minimised or paused, for ms milliseconds
// of the headless clock, one millisecond at a time; returns the frames that ran.
int32_t RunMilliseconds(int32_t ms) {
    int32_t frames = 0;
    for (int32_t i = 0; i < ms; ++i) {
        ++Headless.ClockMs;
        uint32_t last = Game.LastFrameTime;
        UpdateFrame(Game.WindowActive && !GamePaused());
        frames += Game.LastFrameTime != last;
    }
    return frames;
}

void TapP() {
    PressGameKey(VkP, KeyboardSource, 0);
    ReleaseGameKey(VkP, KeyboardSource);
}

TEST(DesktopInput, AKeyHeldOnTwoDevicesIsReleasedOnlyWhenBothLetGo) {
    StartSimulation(SimOptions{});
    PressGameKey(VkLeft, KeyboardSource, 0);
    PressGameKey(VkLeft, GamepadSource, 0);
    ReleaseGameKey(VkLeft, GamepadSource);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirLeft));
    ReleaseGameKey(VkLeft, KeyboardSource);
    EXPECT_EQ(Game.HeldKeys, 0u);

    PressGameKey(VkSpace, GamepadSource, 0);
    PressGameKey(VkSpace, KeyboardSource, 0);
    ReleaseGameKey(VkSpace, KeyboardSource);
    EXPECT_EQ(Game.LastKey, VkSpace); // the pad still holds it
    ReleaseGameKey(VkSpace, GamepadSource);
    EXPECT_EQ(Game.LastKey, 0);
    // A release nobody pressed (the press went to a dialog) still reaches the game.
    PressGameKey('A', KeyboardSource, 0);
    ReleaseGameKey('Q', KeyboardSource);
    EXPECT_EQ(Game.LastKey, 0);
}

TEST(DesktopInput, PPausesAndResumesAndIsAKeyLikeAnyOther) {
    StartSimulation(SimOptions{});
    PressGameKey(VkP, KeyboardSource, 0);
    EXPECT_TRUE(GamePaused());
    EXPECT_EQ(Game.LastKey, VkP);
    PressGameKey(VkP, KeyboardSource, 1); // the keyboard's auto-repeat
    EXPECT_TRUE(GamePaused());
    ReleaseGameKey(VkP, KeyboardSource);
    EXPECT_EQ(Game.LastKey, 0);
    TapP();
    EXPECT_FALSE(GamePaused());
}

// The simulator's start-up, then the headless clock as the platform's own, as in the desktop.
void StartOnPlatformClock() {
    StartSimulation(SimOptions{});
    StopDemoPlayback();
}

TEST(DesktopInput, WhilePausedOrMinimisedNoFrameRunsAndNothingCatchesUpAfterwards) {
    StartOnPlatformClock();
    ASSERT_EQ(RunMilliseconds(2040), 120);
    TapP();
    EXPECT_EQ(RunMilliseconds(3000), 0);
    Game.WindowActive = 0; // minimised while paused, then restored: still paused
    EXPECT_EQ(RunMilliseconds(1000), 0);
    Game.WindowActive = 1;
    EXPECT_EQ(RunMilliseconds(1000), 0);
    TapP();
    // The first frame comes at once, then one every 17 ms: no burst for the time paused.
    EXPECT_EQ(RunMilliseconds(17), 1);
    EXPECT_EQ(RunMilliseconds(1020), 60);
    Game.WindowActive = 0; // minimising alone stops the frames too
    EXPECT_EQ(RunMilliseconds(500), 0);
    Game.WindowActive = 1;
    EXPECT_EQ(RunMilliseconds(17 * 19), 19);
    const std::string paused = StateWithoutClocks();

    // The same frames without any pause end in the same game.
    StartOnPlatformClock();
    EXPECT_EQ(RunMilliseconds(17 * 200), 200);
    EXPECT_EQ(StateWithoutClocks(), paused);
}

// A virtual game controller with every standard button and axis.
class Gamepad : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        StartSimulation(SimOptions{});
        Attach();
    }
    void TearDown() override {
        if (Joystick) {
            for (int32_t b = 0; b < 15; ++b) SDL_JoystickSetVirtualButton(Joystick, b, 0);
            SDL_JoystickSetVirtualAxis(Joystick, SDL_CONTROLLER_AXIS_LEFTX, 0);
            Poll();
            SDL_JoystickClose(Joystick);
        }
        CloseGamepads();
        if (GamePaused()) TogglePause();
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    void Attach() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = 15; // A to the d-pad's right, in SDL's order
        desc.button_mask = (1u << 15) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "Test pad";
        Index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(Index, 0) << SDL_GetError();
        Joystick = SDL_JoystickOpen(Index);
        ASSERT_NE(Joystick, nullptr) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(Index));
    }
    void Detach() {
        SDL_JoystickClose(Joystick);
        Joystick = nullptr;
        SDL_JoystickDetachVirtual(Index);
    }
    void Poll() {
        SDL_JoystickUpdate();
        PollGamepads();
    }
    void Button(SDL_GameControllerButton b, int32_t down) {
        SDL_JoystickSetVirtualButton(Joystick, b, static_cast<Uint8>(down));
        Poll();
    }
    void Stick(int16_t x) {
        SDL_JoystickSetVirtualAxis(Joystick, SDL_CONTROLLER_AXIS_LEFTX, x);
        Poll();
    }
    void Frames(int32_t n) {
        for (int32_t i = 0; i < n; ++i) RunSimFrame();
    }
    int32_t Index = -1;
    SDL_Joystick* Joystick = nullptr;
};

TEST_F(Gamepad, StartsAGameWithAAndSteersTheSquare) {
    for (int32_t i = 0; i < 600 && Game.GameState != StateAttract; ++i) Frames(1);
    ASSERT_EQ(Game.GameState, StateAttract);
    Button(SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(Game.LastKey, VkSpace);
    Frames(1);
    EXPECT_NE(Game.GameState, StateAttract);
    Button(SDL_CONTROLLER_BUTTON_A, 0);
    EXPECT_EQ(Game.LastKey, 0);
    for (int32_t i = 0; i < 300 && Game.GameState != StatePlay; ++i) Frames(1);
    ASSERT_EQ(Game.GameState, StatePlay);

    // (The player's step takes the held bits it turns by, so they are looked at before it.)
    const int32_t x = Game.PlayerX;
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirLeft));
    EXPECT_EQ(Game.LastKey, KeyLeft);
    Frames(20);
    EXPECT_LT(Game.PlayerX, x);
    Button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    EXPECT_EQ(Game.HeldKeys, 0u);

    Stick(-6000); // inside the dead zone
    EXPECT_EQ(Game.HeldKeys, 0u);
    Stick(-20000);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirLeft));
    EXPECT_EQ(Game.LastKey, KeyLeft);
    Stick(20000); // swung across: left is let go, right pressed
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirRight));
    const int32_t before = Game.PlayerX;
    Frames(20);
    EXPECT_GT(Game.PlayerX, before);

    // Pulled out while held: the game hears the release; plugged in again, it plays on.
    Detach();
    Poll();
    EXPECT_EQ(Game.HeldKeys, 0u);
    Attach();
    Button(SDL_CONTROLLER_BUTTON_DPAD_UP, 1);
    EXPECT_EQ(Game.HeldKeys, static_cast<uint32_t>(DirUp));
    Button(SDL_CONTROLLER_BUTTON_DPAD_UP, 0);
}

TEST_F(Gamepad, StartPausesAndBackGoesToTheTitle) {
    Frames(5);
    Button(SDL_CONTROLLER_BUTTON_START, 1);
    EXPECT_TRUE(GamePaused());
    EXPECT_EQ(Game.LastKey, VkP);
    Button(SDL_CONTROLLER_BUTTON_START, 0);
    EXPECT_EQ(Game.LastKey, 0);
    Button(SDL_CONTROLLER_BUTTON_START, 1);
    EXPECT_FALSE(GamePaused());
    Button(SDL_CONTROLLER_BUTTON_START, 0);

    Game.GameState = StatePlay;
    Button(SDL_CONTROLLER_BUTTON_BACK, 1);
    EXPECT_EQ(Game.GameState, StateTitle);
    Button(SDL_CONTROLLER_BUTTON_BACK, 0);
}

} // namespace
