// The status line above the playfield and the title page's texts.
#pragma once
#include <cstdint>

int32_t ShowLives();
int32_t ShowReversals();
int32_t ShowLevel();
int32_t ShowEnemies();
int32_t ShowPercent();
int32_t ShowScore();
void DrawTitlePage();

// The web address line of the title page.
extern const char* const TitleWebAddress;
