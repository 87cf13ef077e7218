// The program's resources as the desktop build uses them: WAVE bytes for the audio, and
// the dialog pictures decoded into surfaces.
#include "display/software/surface.h"
#include "shell/sdl/sdl_shell.h"

#if __has_include("resources/resources.h")
#include "display/software/bmp.h"
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

Surface* LoadBitmapResourceSurface(int32_t id) {
#ifdef QUORVANEL_HAVE_RESOURCES
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    if (!FindBitmapResource(id, &data, &size)) return nullptr;
    return DecodeBitmapToSurface(data, size, 32);
#else
    (void)id;
    return nullptr;
#endif
}
