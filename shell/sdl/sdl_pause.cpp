// The pause key's state: while it holds, the loop runs no frame.
#include "shell/sdl/sdl_desktop.h"

namespace {

int32_t Paused = 0;

} // namespace

int32_t GamePaused() {
    return Paused;
}

void TogglePause() {
    Paused = !Paused;
}
