// The three dialog boxes as data: the one description of them. The desktop build lays its
// dialog windows out from it, and the Windows build's resource script is generated from it.
#include "shell/dialogs.h"
#include "shell/version.h"

namespace {

constexpr uint32_t GroupTab = ControlGroupStart | ControlTabStop;

constexpr DialogControl AboutControls[] = {
    {1000, ControlKind::Picture, "", DialogLogoBitmap, 26, 5, 110, 40, 0},
    {IdStatic, ControlKind::StaticLeft, "A simple game by Tamsin Verrow", 0, 14, 48, 136, 8, 0},
    {IdStatic, ControlKind::StaticLeft, "Published by Verrow Small Games", 0, 17, 59, 130, 8, 0},
    {IdStatic, ControlKind::StaticCentre, "www.quorvanel-games.example", 0, 26, 70, 110, 8, 0},
    {IdStatic, ControlKind::GroupBox, "Game Keys", 0, 26, 85, 110, 75, 0},
    {IdStatic, ControlKind::StaticCentre, "Space to activate reversals", 0, 36, 98, 89, 8, 0},
    {IdStatic, ControlKind::StaticCentre, "Cursor Keys To Move", 0, 36, 109, 89, 8, 0},
    {IdStatic, ControlKind::StaticCentre, "F1/Escape = Restart", 0, 36, 120, 89, 8, 0},
    {IdStatic, ControlKind::StaticCentre, "F11 = Game Options", 0, 36, 131, 89, 8, 0},
    {IdStatic, ControlKind::StaticCentre, "F12 = QUIT/EXIT", 0, 37, 142, 89, 8, 0},
    {IdOk, ControlKind::DefaultPushButton, "OK", 0, 56, 170, 50, 14, GroupTab},
    {IdStatic, ControlKind::StaticRight, GameVersionText, 0, 140, 180, 20, 8, 0},
};

constexpr DialogControl OptionsControls[] = {
    {IdStatic, ControlKind::Picture, "", TitleLogoBitmap, 3, 0, 202, 57, 0},
    {IdStatic, ControlKind::GroupBox, "Ball Speed", 0, 5, 60, 100, 25, 0},
    {1006, ControlKind::RadioButton, "Slow", 0, 15, 71, 31, 10, GroupTab},
    {1007, ControlKind::RadioButton, "Fast", 0, 65, 71, 29, 10, 0},
    {IdStatic, ControlKind::GroupBox, "Enemy Speed", 0, 5, 90, 100, 25, 0},
    {1008, ControlKind::RadioButton, "Slow", 0, 15, 100, 31, 10, GroupTab},
    {1009, ControlKind::RadioButton, "Fast", 0, 65, 100, 29, 10, 0},
    {IdStatic, ControlKind::GroupBox, "Player Speed", 0, 5, 121, 100, 25, 0},
    {1010, ControlKind::RadioButton, "Slow", 0, 15, 130, 31, 10, GroupTab},
    {1011, ControlKind::RadioButton, "Fast", 0, 65, 130, 29, 10, 0},
    {IdStatic, ControlKind::GroupBox, "Bonus Life", 0, 115, 60, 85, 55, 0},
    {1013, ControlKind::RadioButton, "10,000 Points", 0, 120, 70, 59, 10, GroupTab},
    {1014, ControlKind::RadioButton, "Every Level", 0, 120, 85, 53, 10, 0},
    {1015, ControlKind::RadioButton, "Never", 0, 120, 100, 35, 10, 0},
    {IdStatic, ControlKind::GroupBox, "Sound", 0, 115, 121, 85, 25, 0},
    {1024, ControlKind::RadioButton, "On", 0, 120, 130, 25, 10, GroupTab},
    {1025, ControlKind::RadioButton, "Off", 0, 164, 130, 25, 10, 0},
    {IdStatic, ControlKind::GroupBox, "Enemy Re-Spawn", 0, 5, 155, 195, 25, 0},
    {1019, ControlKind::RadioButton, "15 ", 0, 15, 165, 26, 10, GroupTab},
    {1021, ControlKind::RadioButton, "30", 0, 51, 165, 24, 10, 0},
    {1020, ControlKind::RadioButton, "45", 0, 85, 165, 24, 10, 0},
    {1022, ControlKind::RadioButton, "60", 0, 119, 165, 24, 10, 0},
    {1023, ControlKind::RadioButton, "Never", 0, 153, 165, 35, 10, 0},
    {IdStatic, ControlKind::GroupBox, "Random Game?", 0, 5, 185, 80, 25, 0},
    {1026, ControlKind::RadioButton, "Yes", 0, 15, 195, 28, 10, GroupTab},
    {1027, ControlKind::RadioButton, "No", 0, 51, 195, 25, 10, 0},
    {IdOk, ControlKind::DefaultPushButton, "OK", 0, 90, 195, 50, 14, GroupTab},
    {IdCancel, ControlKind::PushButton, "Cancel", 0, 150, 195, 50, 14, GroupTab},
};

constexpr DialogControl NameControls[] = {
    {IdStatic, ControlKind::Picture, "", DialogLogoBitmap, 34, 5, 122, 35, 0},
    {IdStatic, ControlKind::StaticCentre, "Congratulations, You've made the High Score Table.", 0,
     9, 48, 166, 8, 0},
    {IdStatic, ControlKind::StaticCentre, "Please Enter Your Name:", 0, 9, 58, 166, 8, 0},
    {NameEditId, ControlKind::Edit, "", 0, 62, 70, 61, 14, GroupTab},
    {IdOk, ControlKind::DefaultPushButton, "OK", 0, 69, 90, 50, 14, GroupTab},
};

template <int32_t N> constexpr int32_t CountOf(const DialogControl (&)[N]) {
    return N;
}

constexpr uint32_t PopupWithCaption = DialogStylePopup | DialogStyleCaption | DialogStyleModalFrame;

} // namespace

const DialogTemplate AboutDialogTemplate = {
    AboutDialogId, "About Quorvanel",     163, 188, PopupWithCaption, "MS Sans Serif", 8,
    AboutControls, CountOf(AboutControls)};

const DialogTemplate OptionsDialogTemplate = {OptionsDialogId,
                                              "Quorvanel Options",
                                              207,
                                              215,
                                              PopupWithCaption | DialogStyleVisible |
                                                  DialogStyleWindowMenu,
                                              "MS Sans Serif",
                                              8,
                                              OptionsControls,
                                              CountOf(OptionsControls)};

const DialogTemplate NameDialogTemplate = {NameDialogId,
                                           "Congratulations You've Got A High Score",
                                           186,
                                           106,
                                           PopupWithCaption | DialogStyleWindowMenu,
                                           "MS Sans Serif",
                                           8,
                                           NameControls,
                                           CountOf(NameControls)};

const DialogTemplate* FindDialogTemplate(int32_t id) {
    if (id == AboutDialogId) return &AboutDialogTemplate;
    if (id == OptionsDialogId) return &OptionsDialogTemplate;
    if (id == NameDialogId) return &NameDialogTemplate;
    return nullptr;
}
