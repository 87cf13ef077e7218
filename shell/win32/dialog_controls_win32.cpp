// The dialog-manager services of the shared dialog procedures, on real Win32 dialog windows.
#include <windows.h>

// windows.h maps these two names to their A or W versions; here they name the game's own
// services, which call the A versions.
#undef SetDlgItemText
#undef GetDlgItemText

#include "shell/dialog_controls.h"

namespace {

HWND Dialog(DialogHandle dlg) {
    return static_cast<HWND>(dlg);
}

} // namespace

void CheckRadioButton(DialogHandle dlg, int32_t firstId, int32_t lastId, int32_t checkId) {
    ::CheckRadioButton(Dialog(dlg), firstId, lastId, checkId);
}

int32_t IsDlgButtonChecked(DialogHandle dlg, int32_t id) {
    return ::IsDlgButtonChecked(Dialog(dlg), id) == BST_CHECKED ? 1 : 0;
}

void SetDlgItemText(DialogHandle dlg, int32_t id, const char* text) {
    SetDlgItemTextA(Dialog(dlg), id, text);
}

int32_t GetDlgItemText(DialogHandle dlg, int32_t id, char* buffer, int32_t maxCount) {
    return static_cast<int32_t>(GetDlgItemTextA(Dialog(dlg), id, buffer, maxCount));
}

void EndDialog(DialogHandle dlg, intptr_t result) {
    ::EndDialog(Dialog(dlg), result);
}

DialogRect GetDialogWindowRect(DialogHandle dlg) {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(Dialog(dlg), &r);
    return {r.left, r.top, r.right, r.bottom};
}

DialogRect GetOwnerClientRect(DialogHandle dlg) {
    // A modal box's parent is its owner, the main window; without one, the screen.
    HWND owner = GetParent(Dialog(dlg));
    if (!owner) owner = GetDesktopWindow();
    RECT r = {0, 0, 0, 0};
    GetClientRect(owner, &r);
    ClientToScreen(owner, reinterpret_cast<POINT*>(&r.left));
    ClientToScreen(owner, reinterpret_cast<POINT*>(&r.right));
    return {r.left, r.top, r.right, r.bottom};
}

void MoveDialog(DialogHandle dlg, int32_t left, int32_t top) {
    RECT r = {0, 0, 0, 0};
    GetWindowRect(Dialog(dlg), &r);
    MoveWindow(Dialog(dlg), left, top, r.right - r.left, r.bottom - r.top, FALSE);
}
