// The dialog manager: a dialog box laid out from its template (shell/dialogs.h) in dialog
// units, talking to its dialog procedure through the dialog-control services
// (shell/dialog_controls.h), driven by neutral events and drawn on a software surface. It
// runs no loop of its own: a shell opens a box, feeds it the events of the window it shows
// it in, shows its canvas after each RenderDialogBox that drew, and closes it once Ended.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "shell/dialogs.h"
#include "shell/popups/popup_events.h"
#include "shell/popups/popup_paint.h"

struct Surface;

// Where the box goes on screen, in screen pixels: what the dialog procedures' centring reads.
struct DialogScreen {
    DialogRect OwnerClient; // the owner window's client area
    // Widths of the frame the platform puts round a box's client area (caption included):
    // Left, Top, Right and Bottom hold the four widths.
    DialogRect Frame;
    int32_t Scale = 1; // screen pixels per logical pixel of the box
};

struct DialogItem {
    const DialogControl* Def = nullptr;
    PopupRect Box; // logical pixels
    int32_t Checked = 0;
    std::string Text;
    Surface* Picture = nullptr;
};

struct DialogBox {
    DialogBox() = default;
    DialogBox(const DialogBox&) = delete; // the procedures hold its address; it owns surfaces
    DialogBox& operator=(const DialogBox&) = delete;

    const DialogTemplate* Template = nullptr;
    DialogProc Proc = nullptr;
    DialogScreen Screen;
    PopupFontMetrics Font;
    int32_t Width = 0; // the client area in logical pixels
    int32_t Height = 0;
    int32_t Left = 0; // the client area's top-left corner on screen, where MoveDialog put it
    int32_t Top = 0;
    Surface* Canvas = nullptr; // Width x Height, 32 bits; drawn by RenderDialogBox
    std::vector<DialogItem> Items;
    int32_t Focus = -1;   // the item with the keyboard focus
    int32_t Pressed = -1; // the push button held down by the mouse
    int32_t PressedInside = 0;
    size_t Caret = 0;        // in the edit's text
    int32_t AllSelected = 0; // the edit's whole text is selected: typing replaces it
    int32_t Ended = 0;       // set by EndDialog, with the Result
    intptr_t Result = 0;
    int32_t Dirty = 1;
};

// The longest name the edit box takes: what the game keeps of a name.
constexpr size_t DialogEditLimit = 47;

// Lays the box out, makes its canvas and sends its procedure the initialisation message
// (which centres it). 1, or 0 for an unknown template or no canvas: nothing is then open.
int32_t OpenDialogBox(DialogBox* box, int32_t templateId, const DialogScreen& screen);
void FeedDialogBox(DialogBox* box, const PopupEvent& event);
// Draws the box on its canvas if anything changed; 1 when it did.
int32_t RenderDialogBox(DialogBox* box);
// Frees what the box holds; the record may then be opened again.
void CloseDialogBox(DialogBox* box);

// The procedure behind each of the game's templates; nullptr for an unknown one.
DialogProc DialogProcFor(int32_t templateId);
