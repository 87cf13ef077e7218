// The main window's right-click menu: the commands its window menu carries (About, Options,
// e-mail, web page) with their access keys, drawn on a software canvas and driven by neutral
// events. Like a dialog box it runs no loop: a shell opens it, feeds it the events of the
// window it shows it in, shows its canvas after each RenderContextMenu that drew, and once
// Ended carries out Command (shell/keys.h's HandleMenuCommand) and closes it.
#pragma once
#include <cstdint>

#include "shell/popups/popup_events.h"
#include "shell/popups/popup_paint.h"

struct Surface;

struct ContextMenuItem {
    const char* Text; // nullptr for a separator
    const char* Shortcut;
    int32_t Command;   // MenuAbout, MenuOptions, MenuEmail, MenuWebPage
    int32_t AccessKey; // index in Text of the underlined letter that chooses the item
};

extern const ContextMenuItem ContextMenuItems[];
extern const int32_t ContextMenuItemCount;

struct ContextMenu {
    ContextMenu() = default;
    ContextMenu(const ContextMenu&) = delete; // it owns its canvas
    ContextMenu& operator=(const ContextMenu&) = delete;

    PopupFontMetrics Font;
    int32_t Width = 0; // logical pixels
    int32_t Height = 0;
    Surface* Canvas = nullptr; // Width x Height, 32 bits; drawn by RenderContextMenu
    int32_t Selected = -1;     // the highlighted item, -1 for none
    int32_t Ended = 0;
    int32_t Command = 0; // the chosen item's command once Ended, 0 when none was chosen
    int32_t Dirty = 1;
};

// Sizes the menu to its texts and makes its canvas: 1, or 0 when it cannot be shown.
int32_t OpenContextMenu(ContextMenu* menu);
// Keys: the arrows move the highlight, Enter chooses it, an item's access key chooses that
// item, Escape ends without a command. Mouse: the highlight follows the pointer, a release
// over an item chooses it, a press outside the menu ends it. Close ends it.
void FeedContextMenu(ContextMenu* menu, const PopupEvent& event);
// Draws the menu on its canvas if anything changed; 1 when it did.
int32_t RenderContextMenu(ContextMenu* menu);
void CloseContextMenu(ContextMenu* menu);
// Where item i lies on the canvas.
PopupRect ContextMenuItemBox(const ContextMenu& menu, int32_t i);
