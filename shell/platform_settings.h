// Values a platform keeps in the settings store beside the game's own (the desktop window's
// size and full-screen state), read and written inside the same open and close of the store
// as the game's values, so that one atomic save holds both. A platform with none of its own
// implements both as nothing.
#pragma once

void WritePlatformSettings(); // after the game's values, the store open
void ReadPlatformSettings();  // after the game's values, the store open
