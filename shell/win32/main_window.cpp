// The main window: its class, its system-menu commands, and the window procedure that feeds
// keys and commands to the game's tables and keeps the display's view of the window current.
#include "display/directdraw/dd_display.h"
#include "display/draw.h"
#include "game/game_record.h"
#include "shell/keys.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/win32/win32_shell.h"
#include "shell/window_title.h"

namespace {

constexpr const char* WindowClassName = "Quorvanel";
constexpr int32_t IconResource = 106;
// A title bar with the system menu and a minimize box; no sizing, no maximize.
constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
static_assert(MainWindowStyle == 0x00CA0000);

void AppendSystemMenuItems(HWND window) {
    HMENU menu = GetSystemMenu(window, FALSE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, MenuAbout, "&About\tF9");
    AppendMenuA(menu, MF_STRING, MenuOptions, "&Options\tF11");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, MenuEmail, "&Email me");
    AppendMenuA(menu, MF_STRING, MenuWebPage, "Visit &WWW Page");
}

// Where every present lands: the client area in screen coordinates.
void TrackClientArea(HWND window) {
    GetClientRect(window, &WindowRect);
    ClientToScreen(window, reinterpret_cast<POINT*>(&WindowRect.left));
    ClientToScreen(window, reinterpret_cast<POINT*>(&WindowRect.right));
}

} // namespace

HWND CreateMainWindow(HINSTANCE instance, WNDPROC procedure, int32_t width, int32_t height) {
    WNDCLASSA windowClass;
    ZeroMemory(&windowClass, sizeof windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IconResource));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = WindowClassName;
    // A rebuilt display registers again; the class from the first time serves.
    RegisterClassA(&windowClass);

    HWND window =
        CreateWindowExA(0, WindowClassName, MainWindowTitle, MainWindowStyle, CW_USEDEFAULT,
                        CW_USEDEFAULT, width, height, nullptr, nullptr, instance, nullptr);
    if (!window) return nullptr;
    AppendSystemMenuItems(window);

    // The outer size that gives a client area of exactly width x height.
    RECT outer = {0, 0, width, height};
    AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)),
                       GetMenu(window) != nullptr,
                       static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)));
    MoveWindow(window, (GetSystemMetrics(SM_CXFULLSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYFULLSCREEN) - height) / 2, outer.right - outer.left,
               outer.bottom - outer.top, FALSE);
    return window;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        Game.AppInstance = reinterpret_cast<CREATESTRUCTA*>(lParam)->hInstance;
        return 0;
    case WM_DESTROY:
        // A display rebuild replaces the window; the game goes on.
        if (DisplayRebuilding) return 0;
        DeleteTextFont();
        if (SettingsLoaded) SaveSettings();
        PostQuitMessage(0);
        return 0;
    case WM_MOVE: TrackClientArea(window); break;
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            InvalidateRect(window, nullptr, TRUE);
            Game.WindowActive = 0;
        } else {
            Game.WindowActive = 1;
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        PresentFrame();
        EndPaint(window, &paint);
        break;
    }
    case WM_ACTIVATEAPP: DebugOutput("Active App!\n "); break;
    case WM_SETCURSOR: SetCursor(LoadCursorA(nullptr, IDC_ARROW)); return 0;
    case WM_KEYDOWN: HandleKeyDown(static_cast<int32_t>(wParam)); break;
    case WM_KEYUP: HandleKeyUp(static_cast<int32_t>(wParam)); break;
    case WM_SYSCOMMAND:
        // The window's own commands (move, minimize, close) only pass through.
        HandleMenuCommand(static_cast<int32_t>(LOWORD(wParam)));
        break;
    case WM_QUERYNEWPALETTE:
        if (ReassertPalette(message, reinterpret_cast<HWND>(wParam))) return 1;
        break;
    case WM_PALETTECHANGED: ReassertPalette(message, reinterpret_cast<HWND>(wParam)); break;
    default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
