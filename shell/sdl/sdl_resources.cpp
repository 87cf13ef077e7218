// The program's sounds as the desktop build plays them: the WAVE bytes for the audio.
#include "shell/sdl/sdl_shell.h"

#if __has_include("resources/resources.h")
#include "resources/resources.h"
#define QUORVANEL_HAVE_RESOURCES 1
#endif

int32_t WaveResourceBytes(int32_t id, const uint8_t** data, uint32_t* size) {
#ifdef QUORVANEL_HAVE_RESOURCES
    return FindWaveResource(id, data, size);
#else
    (void)id, (void)data, (void)size;
    return 0;
#endif
}
