// The page's canvas has no window of its own to remember; nothing is kept beside the game's
// values.
#include "shell/platform_settings.h"

void WritePlatformSettings() {}
void ReadPlatformSettings() {}
