// The dialog-control services the dialog procedures call, over an open DialogBox.
#include "shell/dialog_controls.h"
#include "shell/popups/dialog_parts.h"

namespace {

DialogItem* ItemOf(DialogHandle dlg, int32_t id) {
    if (id == IdStatic) return nullptr;
    for (DialogItem& item : BoxOf(dlg).Items)
        if (item.Def->Id == id) return &item;
    return nullptr;
}

} // namespace

void CheckRadioButton(DialogHandle dlg, int32_t firstId, int32_t lastId, int32_t checkId) {
    for (DialogItem& item : BoxOf(dlg).Items)
        if (item.Def->Id >= firstId && item.Def->Id <= lastId && item.Def->Id != IdStatic)
            item.Checked = item.Def->Id == checkId;
    BoxOf(dlg).Dirty = 1;
}

int32_t IsDlgButtonChecked(DialogHandle dlg, int32_t id) {
    DialogItem* item = ItemOf(dlg, id);
    return item && item->Checked ? 1 : 0;
}

void SetDlgItemText(DialogHandle dlg, int32_t id, const char* text) {
    DialogItem* item = ItemOf(dlg, id);
    if (!item) return;
    item->Text = text ? text : "";
    if (IsEdit(*item) && item->Text.size() > DialogEditLimit) item->Text.resize(DialogEditLimit);
    BoxOf(dlg).Caret = item->Text.size();
    BoxOf(dlg).AllSelected = 0;
    BoxOf(dlg).Dirty = 1;
}

int32_t GetDlgItemText(DialogHandle dlg, int32_t id, char* buffer, int32_t maxCount) {
    if (maxCount <= 0) return 0;
    DialogItem* item = ItemOf(dlg, id);
    size_t n = item ? item->Text.size() : 0;
    if (n > static_cast<size_t>(maxCount - 1)) n = static_cast<size_t>(maxCount - 1);
    if (n) item->Text.copy(buffer, n);
    buffer[n] = '\0';
    return static_cast<int32_t>(n);
}

void EndDialog(DialogHandle dlg, intptr_t result) {
    BoxOf(dlg).Ended = 1;
    BoxOf(dlg).Result = result;
}

// The box on screen: its client area at Left, Top, scaled, inside the platform's frame.
DialogRect GetDialogWindowRect(DialogHandle dlg) {
    const DialogBox& box = BoxOf(dlg);
    const DialogRect& frame = box.Screen.Frame;
    return {box.Left - frame.Left, box.Top - frame.Top,
            box.Left + box.Width * box.Screen.Scale + frame.Right,
            box.Top + box.Height * box.Screen.Scale + frame.Bottom};
}

DialogRect GetOwnerClientRect(DialogHandle dlg) {
    return BoxOf(dlg).Screen.OwnerClient;
}

void MoveDialog(DialogHandle dlg, int32_t left, int32_t top) {
    DialogBox& box = BoxOf(dlg);
    box.Left = left + box.Screen.Frame.Left;
    box.Top = top + box.Screen.Frame.Top;
}
