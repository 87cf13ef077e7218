// The page's keyboard events in the game's terms: the Windows virtual-key codes that the key
// table is written in, and the characters a dialog's edit box takes.
#pragma once
#include <cstdint>

// From a KeyboardEvent's code (the key's place) and key (what it means in the user's layout):
// letters follow the layout, as Windows' virtual keys do. 0 for keys the game never sees:
// Alt and F10 (system keys), and F12, which quits the desktop game and has nothing to quit in
// a page.
int32_t VirtualKeyFromDom(const char* code, const char* key);

// The character a key types, as one byte of the game's Latin-1 names; 0 when the key types
// none (a named key such as "Enter", or a character beyond Latin-1).
uint8_t CharacterFromDomKey(const char* key);
