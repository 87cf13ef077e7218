// SDL keys to the Windows virtual-key codes that the game's key table is written in.
#include "shell/sdl/sdl_shell.h"

namespace {

// With NumLock off the keypad is a second set of cursor and editing keys, as on Windows.
int32_t KeypadWithoutNumLock(SDL_Keycode key) {
    switch (key) {
    case SDLK_KP_0: return 45;      // insert
    case SDLK_KP_1: return 35;      // end
    case SDLK_KP_2: return 40;      // down
    case SDLK_KP_3: return 34;      // page down
    case SDLK_KP_4: return 37;      // left
    case SDLK_KP_5: return 12;      // clear
    case SDLK_KP_6: return 39;      // right
    case SDLK_KP_7: return 36;      // home
    case SDLK_KP_8: return 38;      // up
    case SDLK_KP_9: return 33;      // page up
    case SDLK_KP_PERIOD: return 46; // delete
    default: return 0;
    }
}

} // namespace

int32_t VirtualKeyFromSdl(SDL_Keycode key, uint16_t modifiers) {
    if ((modifiers & KMOD_NUM) == 0) {
        if (int32_t vk = KeypadWithoutNumLock(key)) return vk;
    }
    if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
    // F10 and Alt are system keys: the window's key table never sees them.
    if (key >= SDLK_F1 && key <= SDLK_F9) return 112 + (key - SDLK_F1);
    if (key >= SDLK_F11 && key <= SDLK_F12) return 122 + (key - SDLK_F11);
    if (key >= SDLK_F13 && key <= SDLK_F24) return 124 + (key - SDLK_F13);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
    switch (key) {
    case SDLK_BACKSPACE: return 8;
    case SDLK_TAB: return 9;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return 13;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return 16;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return 17;
    case SDLK_PAUSE: return 19;
    case SDLK_CAPSLOCK: return 20;
    case SDLK_ESCAPE: return 27;
    case SDLK_SPACE: return 32;
    case SDLK_PAGEUP: return 33;
    case SDLK_PAGEDOWN: return 34;
    case SDLK_END: return 35;
    case SDLK_HOME: return 36;
    case SDLK_LEFT: return 37;
    case SDLK_UP: return 38;
    case SDLK_RIGHT: return 39;
    case SDLK_DOWN: return 40;
    case SDLK_INSERT: return 45;
    case SDLK_DELETE: return 46;
    case SDLK_KP_0: return 96;
    case SDLK_KP_MULTIPLY: return 106;
    case SDLK_KP_PLUS: return 107;
    case SDLK_KP_MINUS: return 109;
    case SDLK_KP_PERIOD: return 110;
    case SDLK_KP_DIVIDE: return 111;
    case SDLK_NUMLOCKCLEAR: return 144;
    case SDLK_SCROLLLOCK: return 145;
    case SDLK_SEMICOLON: return 0xBA;
    case SDLK_EQUALS: return 0xBB;
    case SDLK_COMMA: return 0xBC;
    case SDLK_MINUS: return 0xBD;
    case SDLK_PERIOD: return 0xBE;
    case SDLK_SLASH: return 0xBF;
    case SDLK_BACKQUOTE: return 0xC0;
    case SDLK_LEFTBRACKET: return 0xDB;
    case SDLK_BACKSLASH: return 0xDC;
    case SDLK_RIGHTBRACKET: return 0xDD;
    case SDLK_QUOTE: return 0xDE;
    case SDLK_LESS: return 0xE2; // the extra key of ISO keyboards
    case SDLK_LGUI: return 91;
    case SDLK_RGUI: return 92;
    case SDLK_APPLICATION: return 93;
    default: return 0;
    }
}
