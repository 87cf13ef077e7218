#include "shell/keys.h"

#include "game/frame_tick.h"
#include "game/game_record.h"
#include "movers/player.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/version.h"

const char* const EmailUrl =
    "mailto:author@quorvanel-games.example?subject=Quorvanel%20V" QUORVANEL_VERSION;
const char* const WebPageUrl = "https://www.quorvanel-games.example/";

static void PressCursor(int32_t lastKey, uint32_t bit) {
    Game.LastKey = lastKey;
    Game.HeldKeys |= bit;
}

// The boxes are shown unless a demo plays, which gives the Options box's answers as events
// of their own.
static void AskAbout() {
    if (DemoShowsDialogs()) ShowAboutDialog();
}

static void AskOptions() {
    if (!DemoShowsDialogs()) return;
    ShowOptionsDialog();
    NoteDemoOptions();
}

void HandleKeyDown(int32_t virtualKey) {
    NoteDemoKey(1, virtualKey);
    switch (virtualKey) {
    case VkEscape:
    case VkF1: ResetToTitle(); break;
    case VkLeft: PressCursor(KeyLeft, DirLeft); break;
    case VkUp: PressCursor(KeyUp, DirUp); break;
    case VkRight: PressCursor(KeyRight, DirRight); break;
    case VkDown: PressCursor(KeyDown, DirDown); break;
    case VkF2: ShowWallCells(); break;
    case VkF5: Game.ShowFps = ~Game.ShowFps; break;
    case VkF9: AskAbout(); break;
    case VkF11: AskOptions(); break;
    case VkF12:
        FreePlayfield();
        QuitProgram();
        break;
    default: Game.LastKey = virtualKey; break;
    }
}

void HandleKeyUp(int32_t virtualKey) {
    NoteDemoKey(0, virtualKey);
    switch (virtualKey) {
    case VkSpace:
        // Releasing the bar lets the next press reverse at once.
        Game.LastKey = 0;
        Game.ReversalTimer = 0;
        break;
    // A released cursor key keeps LastKey: it still names the last direction.
    case VkLeft: Game.HeldKeys &= ~static_cast<uint32_t>(DirLeft); break;
    case VkUp: Game.HeldKeys &= ~static_cast<uint32_t>(DirUp); break;
    case VkRight: Game.HeldKeys &= ~static_cast<uint32_t>(DirRight); break;
    case VkDown: Game.HeldKeys &= ~static_cast<uint32_t>(DirDown); break;
    default: Game.LastKey = 0; break;
    }
}

void HandleMenuCommand(int32_t command) {
    switch (command) {
    case MenuAbout: AskAbout(); break;
    case MenuOptions:
        AskOptions();
        SaveSettings();
        break;
    case MenuEmail: OpenUrl(EmailUrl); break;
    case MenuWebPage: OpenUrl(WebPageUrl); break;
    default: break;
    }
}
