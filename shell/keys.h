// The main window's key and menu commands, as the game sees them: virtual-key codes in,
// game record fields and commands out. Every build's window feeds its key events here.
#pragma once
#include <cstdint>

constexpr int32_t VkSpace = 32;
constexpr int32_t VkEscape = 27;
constexpr int32_t VkLeft = 37;
constexpr int32_t VkUp = 38;
constexpr int32_t VkRight = 39;
constexpr int32_t VkDown = 40;
constexpr int32_t VkF1 = 112;
constexpr int32_t VkF2 = 113;
constexpr int32_t VkF5 = 116;
constexpr int32_t VkF9 = 120;
constexpr int32_t VkF11 = 122;
constexpr int32_t VkF12 = 123;
// Keys the dialog boxes use besides.
constexpr int32_t VkBack = 8;
constexpr int32_t VkTab = 9;
constexpr int32_t VkReturn = 13;
constexpr int32_t VkEnd = 35;
constexpr int32_t VkHome = 36;
constexpr int32_t VkDelete = 46;

// System-menu command numbers.
constexpr int32_t MenuAbout = 1;
constexpr int32_t MenuOptions = 2;
constexpr int32_t MenuEmail = 4;
constexpr int32_t MenuWebPage = 5;

void HandleKeyDown(int32_t virtualKey);
void HandleKeyUp(int32_t virtualKey);
void HandleMenuCommand(int32_t command);

extern const char* const EmailUrl;
extern const char* const WebPageUrl;
