// The few dialog-manager services the dialog procedures use. Windows answers them with real
// dialog windows (shell/win32); the desktop build, the browser and the tests with the
// platform-free dialog manager (shell/popups). The procedures themselves are platform-free.
#pragma once
#include <cstdint>

using DialogHandle = void*;

// Dialog messages, numbered as the Windows dialog manager numbers them.
constexpr uint32_t WmInitDialog = 0x0110;
constexpr uint32_t WmCommand = 0x0111;

constexpr int32_t IdOk = 1;
constexpr int32_t IdCancel = 2;
constexpr int32_t IdStatic = -1; // a control nobody addresses

using DialogProc = int32_t (*)(DialogHandle dlg, uint32_t message, uintptr_t wParam,
                               intptr_t lParam);

struct DialogRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

struct DialogPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

// Selects checkId and clears every other button whose id lies in firstId..lastId.
void CheckRadioButton(DialogHandle dlg, int32_t firstId, int32_t lastId, int32_t checkId);
int32_t IsDlgButtonChecked(DialogHandle dlg, int32_t id); // 1 checked, 0 not
void SetDlgItemText(DialogHandle dlg, int32_t id, const char* text);
// Copies at most maxCount - 1 bytes of the control's text and a terminating zero; returns
// the number of bytes copied without the zero.
int32_t GetDlgItemText(DialogHandle dlg, int32_t id, char* buffer, int32_t maxCount);
void EndDialog(DialogHandle dlg, intptr_t result);

// Window geometry in screen pixels: the dialog's outer rectangle, its owner's client area.
DialogRect GetDialogWindowRect(DialogHandle dlg);
DialogRect GetOwnerClientRect(DialogHandle dlg);
void MoveDialog(DialogHandle dlg, int32_t left, int32_t top); // keeps the size
