// Whether SDL reached a display. With none (no DISPLAY, or one naming no server) SDL falls
// back to drivers that show nothing, and the game would run on unseen for ever.
#include <SDL.h>

#include <cstring>
#include <string>

#include "shell/sdl/sdl_shell.h"

namespace {

int32_t ShowsNothing(const char* driver) {
    for (const char* name : {"offscreen", "dummy", "evdev"})
        if (SDL_strcasecmp(driver, name) == 0) return 1;
    return 0;
}

// SDL_VIDEODRIVER may name one driver or a comma-separated list of them.
int32_t AskedFor(const char* driver) {
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    if (!wanted) return 0;
    std::string list = wanted;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        if (SDL_strcasecmp(list.substr(start, comma - start).c_str(), driver) == 0) return 1;
        start = comma + 1;
    }
    return 0;
}

} // namespace

int32_t VideoDriverShowsWindows() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && (!ShowsNothing(driver) || AskedFor(driver));
}
