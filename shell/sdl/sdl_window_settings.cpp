// The desktop window's values in the settings file, after the game's 29: the window's scale
// and whether it was in full screen. Written and read inside the game's own save and load.
#include <cstdio>
#include <string>

#include "shell/platform.h"
#include "shell/platform_settings.h"
#include "shell/sdl/sdl_desktop.h"
#include "shell/settings_store.h"

RememberedWindowValues RememberedWindow;

namespace {

void WriteValue(const char* name, int32_t value) {
    uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    WriteStoreBinary(name, bytes, 4);
}

// Reads one value; a missing or damaged one leaves the default and is named in problems.
int32_t ReadChecked(const char* name, int32_t low, int32_t high, int32_t* field,
                    std::string* problems) {
    uint8_t bytes[4] = {};
    uint32_t size = 4;
    int32_t result = ReadStoreValue(name, bytes, &size);
    const char* what = nullptr;
    int32_t value = static_cast<int32_t>(
        static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    if (result == StoreValueMissing)
        what = "missing";
    else if (result != StoreValueRead || size != 4)
        what = "not a 4-byte number";
    else if (value < low || value > high)
        what = "out of range";
    else
        *field = value;
    if (!what) return 0;
    if (!problems->empty()) *problems += ", ";
    *problems += std::string(name) + " " + what;
    return 1;
}

} // namespace

void WritePlatformSettings() {
    if (RememberedWindow.Scale > 0) WriteValue("WindowScale", RememberedWindow.Scale);
    WriteValue("FullScreen", RememberedWindow.FullScreen);
}

void ReadPlatformSettings() {
    RememberedWindowValues read;
    std::string problems;
    int32_t wrong = ReadChecked("WindowScale", 1, MaxWindowScale, &read.Scale, &problems);
    wrong += ReadChecked("FullScreen", 0, 1, &read.FullScreen, &problems);
    RememberedWindow = read;
    if (!wrong) return;
    // One line for both: a file from before the window values were kept lacks them both.
    std::string line = "ReadPlatformSettings: " + problems +
                       (wrong > 1 ? "; using their defaults.\n" : "; using its default.\n");
    DebugOutput(line.c_str());
}
