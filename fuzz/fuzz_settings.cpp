// Feeds arbitrary bytes to the settings-file parser; whatever it accepts must serialise and
// parse back to the same values without a single diagnostic.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/settings_file.h"

static int32_t Diagnostics = 0;
void DebugOutput(const char*) {
    ++Diagnostics;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    SettingsFileValues values = ParseSettingsText(text);
    Diagnostics = 0;
    SettingsFileValues again = ParseSettingsText(SerialiseSettings(values));
    if (Diagnostics != 0 || again.size() != values.size()) std::abort();
    for (std::size_t i = 0; i < values.size(); ++i)
        if (again[i].Name != values[i].Name || again[i].IsText != values[i].IsText ||
            again[i].Data != values[i].Data)
            std::abort();
    return 0;
}
