// The Windows window has a fixed size; it keeps nothing of its own in the registry.
#include "shell/platform_settings.h"

void WritePlatformSettings() {}
void ReadPlatformSettings() {}
