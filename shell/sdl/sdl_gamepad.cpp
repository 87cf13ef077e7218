// Game controllers as a second keyboard. Their state is read once per turn of the loop
// rather than from their events: a modal dialog's loop takes every event while it runs, and
// a button let go meanwhile must still come out as a key-up afterwards. Hot-plugging is
// found the same way, by looking at the devices present.
#include <vector>

#include "shell/keys.h"
#include "shell/sdl/sdl_desktop.h"

namespace {

// The keys a controller can hold, one bit each in this order.
constexpr int32_t GamepadKeys[7] = {VkLeft, VkRight, VkUp, VkDown, VkSpace, VkP, VkEscape};

constexpr uint32_t PadLeft = 1, PadRight = 2, PadUp = 4, PadDown = 8, PadSpace = 16, PadPause = 32,
                   PadEscape = 64;

struct Pad {
    SDL_GameController* Controller = nullptr;
    SDL_JoystickID Id = -1;
};

std::vector<Pad> Pads;
uint32_t KeysGiven = 0; // what the game has been told the controllers hold

uint32_t Bit(SDL_GameControllerButton button) {
    return 1u << button;
}

int32_t IsOpen(SDL_JoystickID id) {
    for (const Pad& pad : Pads)
        if (pad.Id == id) return 1;
    return 0;
}

void FollowDevices() {
    for (auto it = Pads.begin(); it != Pads.end();) {
        if (SDL_GameControllerGetAttached(it->Controller)) {
            ++it;
            continue;
        }
        SDL_GameControllerClose(it->Controller);
        it = Pads.erase(it);
    }
    int32_t devices = SDL_NumJoysticks();
    for (int32_t i = 0; i < devices; ++i) {
        SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(i);
        if (id < 0 || IsOpen(id) || !SDL_IsGameController(i)) continue;
        if (SDL_GameController* controller = SDL_GameControllerOpen(i))
            Pads.push_back({controller, id});
    }
}

uint32_t PadKeysFromState(uint32_t buttons, int32_t stickX, int32_t stickY) {
    uint32_t keys = 0;
    if ((buttons & Bit(SDL_CONTROLLER_BUTTON_DPAD_LEFT)) || stickX < -StickDeadZone)
        keys |= PadLeft;
    if ((buttons & Bit(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)) || stickX > StickDeadZone)
        keys |= PadRight;
    if ((buttons & Bit(SDL_CONTROLLER_BUTTON_DPAD_UP)) || stickY < -StickDeadZone) keys |= PadUp;
    if ((buttons & Bit(SDL_CONTROLLER_BUTTON_DPAD_DOWN)) || stickY > StickDeadZone) keys |= PadDown;
    if (buttons & Bit(SDL_CONTROLLER_BUTTON_A)) keys |= PadSpace;
    if (buttons & Bit(SDL_CONTROLLER_BUTTON_START)) keys |= PadPause;
    if (buttons & Bit(SDL_CONTROLLER_BUTTON_BACK)) keys |= PadEscape;
    return keys;
}

uint32_t ReadPad(SDL_GameController* controller) {
    uint32_t buttons = 0;
    for (int32_t b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
        if (SDL_GameControllerGetButton(controller, static_cast<SDL_GameControllerButton>(b)))
            buttons |= 1u << b;
    return PadKeysFromState(buttons,
                            SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX),
                            SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY));
}

} // namespace

void PollGamepads() {
    FollowDevices();
    uint32_t keys = 0;
    for (const Pad& pad : Pads) keys |= ReadPad(pad.Controller);
    // Releases first: a pad whose stick swings from left to right lets go of Left before
    // it presses Right, as fingers on cursor keys would.
    for (int32_t i = 0; i < 7; ++i)
        if ((KeysGiven & ~keys) & (1u << i)) ReleaseGameKey(GamepadKeys[i], GamepadSource);
    for (int32_t i = 0; i < 7; ++i)
        if ((keys & ~KeysGiven) & (1u << i)) PressGameKey(GamepadKeys[i], GamepadSource, 0);
    KeysGiven = keys;
}

void CloseGamepads() {
    for (const Pad& pad : Pads) SDL_GameControllerClose(pad.Controller);
    Pads.clear();
    KeysGiven = 0;
}
