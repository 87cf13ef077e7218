// Keys from the keyboard and the game controllers, merged into the one stream of key-downs
// and key-ups that the game's key table reads.
#include "shell/keys.h"
#include "shell/sdl/sdl_desktop.h"

namespace {

uint8_t HeldBy[256]; // per virtual-key code, the devices holding it down

} // namespace

void PressGameKey(int32_t virtualKey, uint8_t source, int32_t repeat) {
    if (virtualKey <= 0 || virtualKey > 255) return;
    // A fresh press of P pauses or resumes; the keyboard's auto-repeat does not.
    if (virtualKey == VkP && !repeat) TogglePause();
    HeldBy[virtualKey] |= source;
    HandleKeyDown(virtualKey);
}

void ReleaseGameKey(int32_t virtualKey, uint8_t source) {
    if (virtualKey <= 0 || virtualKey > 255) return;
    HeldBy[virtualKey] &= static_cast<uint8_t>(~source);
    if (HeldBy[virtualKey]) return; // still held on another device
    HandleKeyUp(virtualKey);
}
