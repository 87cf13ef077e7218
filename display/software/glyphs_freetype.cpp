// The glyph source of the desktop build: the face rasterised with FreeType when it is first
// asked for, and kept until another face or size is.
#include <string>

#include "display/software/font_raster.h"
#include "display/software/glyphs.h"

namespace {

RasterisedFont Loaded;
std::string LoadedFace;
int32_t LoadedHeight = 0;
int32_t LoadedOk = 0;
int32_t Tried = 0;

} // namespace

const GlyphFont* LoadGlyphFont(const char* faceName, int32_t pixelHeight) {
    std::string face = faceName ? faceName : "";
    if (!Tried || face != LoadedFace || pixelHeight != LoadedHeight) {
        Tried = 1;
        LoadedFace = face;
        LoadedHeight = pixelHeight;
        LoadedOk = RasteriseFont(face.c_str(), pixelHeight, &Loaded);
    }
    return LoadedOk ? &Loaded.Font : nullptr;
}

void ReleaseGlyphFont() {
    Loaded = RasterisedFont{};
    LoadedOk = 0;
    Tried = 0;
}
