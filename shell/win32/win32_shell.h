// What the pieces of the Windows shell share: program entry, the main window and its
// procedure. Only Windows-only code includes this.
#pragma once
#include <windows.h>

#include <cstdint>

int32_t InitApplication(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance, WNDPROC procedure, int32_t width, int32_t height);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
