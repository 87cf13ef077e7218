// The simulator and the tests keep nothing of their own in the settings store. In a file of
// its own, so that a test linking a platform's real values leaves this one out.
#include "shell/platform_settings.h"

void WritePlatformSettings() {}
void ReadPlatformSettings() {}
