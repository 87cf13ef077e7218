// The game's three dialog boxes as data, and their dialog procedures. The templates are the
// one description of the boxes: the desktop build lays its dialog windows out from them and
// the Windows resource script must agree with them.
#pragma once
#include <cstdint>

#include "shell/dialog_controls.h"

constexpr int32_t AboutDialogId = 101;
constexpr int32_t NameDialogId = 109;
constexpr int32_t OptionsDialogId = 112;

constexpr int32_t DialogLogoBitmap = 120; // the small logo of the About and name boxes
constexpr int32_t TitleLogoBitmap = 111;

// Dialog window styles, with the values the Windows dialog manager gives them.
constexpr uint32_t DialogStylePopup = 0x80000000u;
constexpr uint32_t DialogStyleVisible = 0x10000000u;
constexpr uint32_t DialogStyleCaption = 0x00C00000u;
constexpr uint32_t DialogStyleWindowMenu = 0x00080000u; // WS_SYSMENU: a close box
constexpr uint32_t DialogStyleModalFrame = 0x00000080u;

enum class ControlKind : uint8_t {
    Picture,      // a bitmap resource, centred in its box, sunken edge
    StaticLeft,   // text
    StaticCentre, // text
    StaticRight,  // text
    GroupBox,     // a frame with its caption at the top left
    RadioButton,  // automatic: a click selects it and clears the rest of its group
    PushButton,
    DefaultPushButton, // Enter presses it
    Edit,              // one line, bordered, scrolls horizontally
};

// Control flags.
constexpr uint32_t ControlGroupStart = 1; // the first control of a radio group
constexpr uint32_t ControlTabStop = 2;

struct DialogControl {
    int32_t Id; // IdStatic for controls nobody addresses
    ControlKind Kind;
    const char* Text;   // the caption, or "" for a picture or an edit
    int32_t BitmapId;   // pictures only, else 0
    int16_t X, Y, W, H; // dialog units
    uint32_t Flags;
};

struct DialogTemplate {
    int32_t Id;
    const char* Caption;
    int16_t Width, Height; // dialog units
    uint32_t Style;
    const char* FontName;
    int32_t FontPoints;
    const DialogControl* Controls;
    int32_t ControlCount;
};

extern const DialogTemplate AboutDialogTemplate;
extern const DialogTemplate OptionsDialogTemplate;
extern const DialogTemplate NameDialogTemplate;
const DialogTemplate* FindDialogTemplate(int32_t id); // nullptr for an unknown id

constexpr int32_t NameEditId = 1001;

// Where a dialog goes so that it is centred on its owner's client area; offset moves it down.
// Halves are truncated toward zero, so a box larger than the owner starts above and to the left.
DialogPoint CentredDialogPosition(const DialogRect& dialog, const DialogRect& ownerClient,
                                  int32_t offset);
void CentreDialog(DialogHandle dlg, int32_t offset);

int32_t AboutDlgProc(DialogHandle dlg, uint32_t message, uintptr_t wParam, intptr_t lParam);
int32_t OptionsDlgProc(DialogHandle dlg, uint32_t message, uintptr_t wParam, intptr_t lParam);
int32_t NameDlgProc(DialogHandle dlg, uint32_t message, uintptr_t wParam, intptr_t lParam);
