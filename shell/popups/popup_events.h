// What a pop-up (a dialog box or the context menu) is told by the window that shows it: small
// neutral records, so that every shell (SDL, the browser, the tests) drives the same code.
#pragma once
#include <cstdint>

enum class PopupEventKind : uint8_t {
    KeyDown,   // Key (a virtual-key code, shell/keys.h) with Modifiers; auto-repeat repeats it
    Text,      // Text: typed characters, UTF-8, zero-terminated
    MouseDown, // Button at X, Y: the pop-up's logical pixels, its top-left corner at 0, 0
    MouseUp,
    MouseMove, // X, Y
    Close,     // the window's close box or the program's quit; for the menu, a click elsewhere
};

constexpr uint32_t ModifierShift = 1;
constexpr uint32_t ModifierControl = 2;
constexpr uint32_t ModifierAlt = 4;

constexpr int32_t MouseLeft = 1;
constexpr int32_t MouseMiddle = 2;
constexpr int32_t MouseRight = 3;

struct PopupEvent {
    PopupEventKind Kind = PopupEventKind::Close;
    int32_t Key = 0;
    uint32_t Modifiers = 0;
    const char* Text = ""; // valid while the event is handled
    int32_t Button = 0;
    int32_t X = 0;
    int32_t Y = 0;
};

inline PopupEvent KeyDownEvent(int32_t key, uint32_t modifiers = 0) {
    PopupEvent e;
    e.Kind = PopupEventKind::KeyDown;
    e.Key = key;
    e.Modifiers = modifiers;
    return e;
}

inline PopupEvent TextEvent(const char* text) {
    PopupEvent e;
    e.Kind = PopupEventKind::Text;
    e.Text = text;
    return e;
}

inline PopupEvent MouseEvent(PopupEventKind kind, int32_t x, int32_t y,
                             int32_t button = MouseLeft) {
    PopupEvent e;
    e.Kind = kind;
    e.X = x;
    e.Y = y;
    e.Button = kind == PopupEventKind::MouseMove ? 0 : button;
    return e;
}

inline PopupEvent CloseEvent() {
    return PopupEvent{};
}
