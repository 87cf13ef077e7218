#include "display/software/font_file.h"

#include <fontconfig/fontconfig.h>

#include <cstring>

// A configuration of our own, destroyed straight after the look-up, so that nothing of
// fontconfig's stays allocated for the rest of the run.
std::string FontFileFor(const char* pattern, const char* familyPrefix) {
    std::string path;
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return path;
    FcPattern* query = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (query) {
        FcConfigSubstitute(config, query, FcMatchPattern);
        FcDefaultSubstitute(query);
        FcResult result;
        FcPattern* match = FcFontMatch(config, query, &result);
        FcChar8* file = nullptr;
        FcChar8* family = nullptr;
        bool familyFits = true;
        if (match && familyPrefix)
            familyFits = FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch &&
                         std::strncmp(reinterpret_cast<const char*>(family), familyPrefix,
                                      std::strlen(familyPrefix)) == 0;
        if (match && familyFits && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            path = reinterpret_cast<const char*>(file);
        if (match) FcPatternDestroy(match);
        FcPatternDestroy(query);
    }
    FcConfigDestroy(config);
    return path;
}
