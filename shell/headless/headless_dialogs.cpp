#include <cstring>

#include "game/game_record.h"
#include "shell/headless/headless.h"
#include "shell/platform.h"

// Answers the name dialog as a player would: OK with the scripted text, cut to what the
// edit box keeps, or Cancel, which leaves the name as it was.
void ShowNameDialog() {
    ++Headless.NameDialogs;
    if (!Headless.NameDialogAnswers) return;
    std::size_t n = Headless.NameDialogText.size();
    if (n > PlayerNameSize - 1) n = PlayerNameSize - 1;
    std::memcpy(Game.PlayerName, Headless.NameDialogText.data(), n);
    Game.PlayerName[n] = '\0';
}
