// Loading and saving the settings and the high-score table, and entering a finished game.
#pragma once

#include <cstdint>

// 1 once LoadSettings has run: a program that fails to start must not save the built-in
// values over what the player has stored.
extern int32_t SettingsLoaded;

// 1 while a recorded game plays back: the store is neither read nor written, so that what
// the player has stored stays as it is.
extern int32_t SettingsStoreFrozen;

void LoadSettings();
void SaveSettings();
void WriteSettingsValues();
void ReadSettingsValues();
void InsertHighScore();
