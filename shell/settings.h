// Loading and saving the settings and the high-score table, and entering a finished game.
#pragma once

void LoadSettings();
void SaveSettings();
void WriteSettingsValues();
void ReadSettingsValues();
void InsertHighScore();
