#include "shell/web/web_keymap.h"

#include <cstring>

namespace {

struct NamedKey {
    const char* Name;
    int32_t Code;
};

// Keys named by what they do, whichever key gives them: the keypad without NumLock is a
// second set of cursor and editing keys, as on Windows.
constexpr NamedKey Meanings[] = {
    {"ArrowLeft", 37}, {"ArrowUp", 38}, {"ArrowRight", 39}, {"ArrowDown", 40},
    {"Home", 36},      {"End", 35},     {"PageUp", 33},     {"PageDown", 34},
    {"Insert", 45},    {"Delete", 46},  {"Clear", 12},
};

constexpr NamedKey Places[] = {
    {"Backspace", 8},        {"Tab", 9},          {"Enter", 13},           {"NumpadEnter", 13},
    {"ShiftLeft", 16},       {"ShiftRight", 16},  {"ControlLeft", 17},     {"ControlRight", 17},
    {"Pause", 19},           {"CapsLock", 20},    {"Escape", 27},          {"Space", 32},
    {"NumpadMultiply", 106}, {"NumpadAdd", 107},  {"NumpadSubtract", 109}, {"NumpadDecimal", 110},
    {"NumpadDivide", 111},   {"NumLock", 144},    {"ScrollLock", 145},     {"Semicolon", 0xBA},
    {"Equal", 0xBB},         {"Comma", 0xBC},     {"Minus", 0xBD},         {"Period", 0xBE},
    {"Slash", 0xBF},         {"Backquote", 0xC0}, {"BracketLeft", 0xDB},   {"Backslash", 0xDC},
    {"BracketRight", 0xDD},  {"Quote", 0xDE},     {"IntlBackslash", 0xE2}, {"MetaLeft", 91},
    {"MetaRight", 92},       {"ContextMenu", 93},
};

int32_t Lookup(const NamedKey* table, std::size_t count, const char* name) {
    for (std::size_t i = 0; i < count; ++i)
        if (std::strcmp(table[i].Name, name) == 0) return table[i].Code;
    return 0;
}

// The number after a prefix ("F11" -> 11, "Digit7" -> 7), or -1.
int32_t NumberAfter(const char* text, const char* prefix) {
    std::size_t n = std::strlen(prefix);
    if (std::strncmp(text, prefix, n) != 0 || !text[n]) return -1;
    int32_t value = 0;
    for (const char* p = text + n; *p; ++p) {
        if (*p < '0' || *p > '9' || value > 99) return -1;
        value = value * 10 + (*p - '0');
    }
    return value;
}

} // namespace

int32_t VirtualKeyFromDom(const char* code, const char* key) {
    if (!code) code = "";
    if (!key) key = "";
    if (int32_t vk = Lookup(Meanings, sizeof Meanings / sizeof Meanings[0], key)) return vk;
    if (key[0] && !key[1]) {
        char c = key[0];
        if (c >= 'a' && c <= 'z') return 'A' + (c - 'a');
        if (c >= 'A' && c <= 'Z') return c;
    }
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && !code[4])
        return code[3];
    if (int32_t digit = NumberAfter(code, "Digit"); digit >= 0 && digit <= 9) return '0' + digit;
    if (int32_t digit = NumberAfter(code, "Numpad"); digit >= 0 && digit <= 9) return 96 + digit;
    if (int32_t f = NumberAfter(code, "F"); f >= 1 && f <= 24) {
        if (f == 10 || f == 12) return 0;
        return 111 + f;
    }
    return Lookup(Places, sizeof Places / sizeof Places[0], code);
}

uint8_t CharacterFromDomKey(const char* key) {
    if (!key || !key[0]) return 0;
    const auto* s = reinterpret_cast<const unsigned char*>(key);
    uint32_t c = 0;
    if (s[0] < 0x80 && !s[1])
        c = s[0];
    else if ((s[0] & 0xE0) == 0xC0 && (s[1] & 0xC0) == 0x80 && !s[2])
        c = ((s[0] & 0x1Fu) << 6) | (s[1] & 0x3Fu);
    else
        return 0;
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || c > 0xFF) return 0;
    return static_cast<uint8_t>(c);
}
