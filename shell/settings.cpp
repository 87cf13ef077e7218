#include "shell/settings.h"

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "game/game_record.h"
#include "shell/demo.h"
#include "shell/platform.h"
#include "shell/platform_settings.h"
#include "shell/settings_store.h"

static void WriteNumber(const char* name, int32_t value) {
    // Little-endian 4 bytes, whatever the host.
    uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    WriteStoreBinary(name, bytes, 4);
}

static void ReportBadValue(const char* name, const char* what) {
    char line[96];
    std::snprintf(line, sizeof line, "ReadSettingsValues: %s %s; keeping its value.\n", name, what);
    DebugOutput(line);
}

// A number must be exactly 4 bytes; anything else leaves the field as it was.
static int32_t ReadNumber(const char* name, int32_t* field) {
    uint8_t bytes[4];
    uint32_t size = 4;
    int32_t result = ReadStoreValue(name, bytes, &size);
    if (result == StoreValueMissing) return 0;
    if (result != StoreValueRead || size != 4) {
        ReportBadValue(name, "is not a 4-byte number");
        return 0;
    }
    *field = static_cast<int32_t>(
        static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
        static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24);
    return 1;
}

// A stored value the Options box does not offer is used as it stands, but said: the box
// would show it as no choice at all, or as another one.
static void CheckOffered(const char* name, int32_t value, std::initializer_list<int32_t> offered) {
    std::string list;
    for (int32_t v : offered) {
        if (v == value) return;
        list += (list.empty() ? "" : ", ") + std::to_string(v);
    }
    char line[160];
    std::snprintf(line, sizeof line,
                  "ReadSettingsValues: %s is %ld, not one of %s; used as it is.\n", name,
                  static_cast<long>(value), list.c_str());
    DebugOutput(line);
}

static void ReadChoice(const char* name, int32_t* field, std::initializer_list<int32_t> offered) {
    if (ReadNumber(name, field)) CheckOffered(name, *field, offered);
}

// The re-spawn period is counted in frames, 58 a second: a period beyond an hour (or none)
// can only come from a damaged store, and would overflow the frame count.
static void ReadPeriod(const char* name, int32_t* field) {
    int32_t seconds = 0;
    if (!ReadNumber(name, &seconds)) return;
    if (seconds < 1 || seconds > 3600) {
        ReportBadValue(name, "is not a period of 1 to 3600 seconds");
        return;
    }
    *field = seconds;
    CheckOffered(name, seconds, {15, 30, 45, 60});
}

// A text value must fit its slot with the terminating zero; otherwise the slot keeps its
// value.
static void ReadText(const char* name, char* slot, uint32_t room) {
    char buffer[256];
    uint32_t size = room;
    int32_t result = ReadStoreValue(name, buffer, &size);
    if (result == StoreValueMissing) return;
    if (result == StoreValueTooLarge) {
        ReportBadValue(name, "is longer than its slot");
        return;
    }
    if (size == 0 || std::memchr(buffer, '\0', size) == nullptr) {
        ReportBadValue(name, "is not a terminated text");
        return;
    }
    std::memcpy(slot, buffer, size);
}

static void EntryValueName(char* out, std::size_t room, const char* format, int32_t n) {
    std::snprintf(out, room, format, static_cast<int>(n));
}

void WriteSettingsValues() {
    WriteNumber("PlayerSpeed", Game.PlayerSpeed);
    WriteNumber("Sounds", Game.Sounds);
    WriteNumber("RandomGame", Game.RandomGame);
    WriteNumber("BallSpeed", Game.BallSpeed);
    WriteNumber("EnemySpeed", Game.EnemySpeed);
    WriteNumber("BonusLife", Game.BonusLife);
    WriteNumber("RespawnFlag", Game.RespawnFlag);
    WriteNumber("RespawnTime", Game.RespawnTime);
    WriteStoreText("PlayerName", Game.PlayerName);
    char name[32];
    for (int32_t n = 1; n <= HighScoreEntries; ++n) {
        EntryValueName(name, sizeof name, "PlayerName%02d", n);
        WriteStoreText(name, Game.HighScoreTable[n - 1].Name);
        EntryValueName(name, sizeof name, "PlayerScore%02d", n);
        WriteNumber(name, Game.HighScoreTable[n - 1].Score);
    }
}

void ReadSettingsValues() {
    ReadChoice("PlayerSpeed", &Game.PlayerSpeed, {0, 1});
    ReadChoice("BallSpeed", &Game.BallSpeed, {0, 1});
    ReadChoice("EnemySpeed", &Game.EnemySpeed, {0, 1});
    ReadChoice("BonusLife", &Game.BonusLife, {0, 1, 2});
    ReadChoice("RespawnFlag", &Game.RespawnFlag, {0, 1});
    ReadPeriod("RespawnTime", &Game.RespawnTime);
    ReadText("PlayerName", Game.PlayerName, PlayerNameSize);
    char name[32];
    for (int32_t n = 1; n <= HighScoreEntries; ++n) {
        EntryValueName(name, sizeof name, "PlayerName%02d", n);
        ReadText(name, Game.HighScoreTable[n - 1].Name, HighScoreNameSize);
        EntryValueName(name, sizeof name, "PlayerScore%02d", n);
        ReadNumber(name, &Game.HighScoreTable[n - 1].Score);
    }
    ReadChoice("Sounds", &Game.Sounds, {0, 1});
    // Older builds wrote no "RandomGame": a failed read means a fixed pattern.
    if (ReadNumber("RandomGame", &Game.RandomGame))
        CheckOffered("RandomGame", Game.RandomGame, {0, 1});
    else
        Game.RandomGame = 0;
}

int32_t SettingsLoaded = 0;
int32_t SettingsStoreFrozen = 0;

void LoadSettings() {
    SettingsLoaded = 1;
    int32_t createdNew = 0;
    if (SettingsStoreFrozen || !OpenSettingsStore(&createdNew)) return;
    if (createdNew) {
        WriteSettingsValues();
        WritePlatformSettings();
    } else {
        ReadSettingsValues();
        ReadPlatformSettings();
    }
    CloseSettingsStore();
}

void SaveSettings() {
    int32_t createdNew = 0;
    if (SettingsStoreFrozen || !OpenSettingsStore(&createdNew)) return;
    WriteSettingsValues();
    WritePlatformSettings();
    CloseSettingsStore();
}

void InsertHighScore() {
    int32_t place = 0;
    while (place < HighScoreEntries && Game.HighScoreTable[place].Score > Game.Score) ++place;
    if (place == HighScoreEntries) return;

    // A demo being played supplies the name itself, before the frame.
    if (DemoShowsDialogs()) {
        ShowNameDialog();
        NoteDemoName();
    }

    // Shift the entries below the place down by one, from the bottom up; the last is lost.
    for (int32_t i = HighScoreEntries - 1; i > place; --i)
        Game.HighScoreTable[i] = Game.HighScoreTable[i - 1];
    HighScoreEntry& entry = Game.HighScoreTable[place];
    entry.Score = Game.Score;
    std::memset(entry.Name, 0, sizeof entry.Name);
    std::memcpy(entry.Name, Game.PlayerName, strnlen(Game.PlayerName, PlayerNameSize - 1));
    SaveSettings();
}
