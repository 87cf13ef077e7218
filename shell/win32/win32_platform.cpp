// The platform services of the Windows build: the multimedia clock and sounds, the debugger
// output, message boxes, the shell's URL handling, the modal dialogs and the orderly quit.
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>
#include <ctime>

#include "display/directdraw/dd_display.h"
#include "game/game_record.h"
#include "shell/dialogs.h"
#include "shell/platform.h"

namespace {

HWND MainWindowHandle() {
    return static_cast<HWND>(Game.MainWindow);
}

HINSTANCE AppInstance() {
    return static_cast<HINSTANCE>(Game.AppInstance);
}

// The dialog manager's view of the shared, platform-free dialog procedures.
INT_PTR CALLBACK AboutProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    return AboutDlgProc(dlg, message, wParam, lParam);
}

INT_PTR CALLBACK OptionsProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    return OptionsDlgProc(dlg, message, wParam, lParam);
}

INT_PTR CALLBACK NameProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
    return NameDlgProc(dlg, message, wParam, lParam);
}

// A box that cannot be created simply does not appear.
void RunDialog(int32_t templateId, DLGPROC procedure) {
    DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId), MainWindowHandle(), procedure, 0);
}

} // namespace

uint32_t ReadMillisecondClock() {
    return timeGetTime();
}

uint32_t CurrentTimeSeconds() {
    return static_cast<uint32_t>(std::time(nullptr));
}

void PlaySoundResource(int32_t resourceId) {
    PlaySoundA(MAKEINTRESOURCEA(resourceId), AppInstance(), SND_RESOURCE | SND_ASYNC);
}

void StopSound() {
    PlaySoundA(nullptr, nullptr, 0);
}

void DebugOutput(const char* line) {
    OutputDebugStringA(line);
}

void ShowStopMessageBox(const char* text, const char* caption) {
    MessageBoxA(MainWindowHandle(), text, caption, MB_ICONSTOP | MB_OK);
}

void ShowAboutDialog() {
    RunDialog(AboutDialogId, AboutProc);
}

void ShowOptionsDialog() {
    RunDialog(OptionsDialogId, OptionsProc);
}

void ShowNameDialog() {
    RunDialog(NameDialogId, NameProc);
}

void OpenUrl(const char* url) {
    // The mail link is opened on behalf of the main window, the web page by itself; a
    // missing handler is no concern of the game's.
    HWND owner = std::strncmp(url, "mailto:", 7) == 0 ? MainWindowHandle() : nullptr;
    ShellExecuteA(owner, "OPEN", url, nullptr, nullptr, SW_SHOWNORMAL);
}

void QuitProgram() {
    // The window's destruction saves the settings and posts the quit message too.
    ShutdownDisplay();
    PostQuitMessage(0);
}
