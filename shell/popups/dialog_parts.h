// What the dialog manager's files share about a box's items.
#pragma once
#include <vector>

#include "shell/popups/dialog_box.h"

inline DialogBox& BoxOf(DialogHandle dlg) {
    return *static_cast<DialogBox*>(dlg);
}

inline int32_t IsRadio(const DialogItem& item) {
    return item.Def->Kind == ControlKind::RadioButton;
}
inline int32_t IsButton(const DialogItem& item) {
    return item.Def->Kind == ControlKind::PushButton ||
           item.Def->Kind == ControlKind::DefaultPushButton;
}
inline int32_t IsEdit(const DialogItem& item) {
    return item.Def->Kind == ControlKind::Edit;
}

// The radio group of item i: from its group-start button over the radio buttons after it.
void RadioGroupOf(const DialogBox& box, int32_t i, int32_t* first, int32_t* last);
// The keyboard's stops in Tab order: buttons, the edit, and per radio group its selected
// button (or its first).
std::vector<int32_t> TabStops(const DialogBox& box);
// Tells the procedure that control id was used, as its window would.
void SendCommand(DialogBox& box, int32_t id);
// An edit box that gains the focus by keyboard has its whole text selected, so that a
// returning player's name is replaced by typing rather than added to.
void SelectAllIfEdit(DialogBox& box);
