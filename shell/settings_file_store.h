// The settings store of the desktop build over one file (shell/settings_store.h is its
// interface; shell/sdl/sdl_store.cpp holds the one store of the program). Each session
// (open to close) reads the whole file; a session that wrote values saves at its close by
// reading the file again and merging its values in (MergeSettingsText), so that another copy
// of the game, or an edit made meanwhile, loses nothing. A file that cannot be used (not a
// regular file, too large, unreadable) is left alone for the rest of the run, and a
// read-only one is read but never replaced. Every problem is said once a run.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shell/settings_file.h"

struct SettingsFileStore {
    std::string Path; // as the player named it; may be a symbolic link
    int32_t IsOpen = 0;
    int32_t Refused = 0; // the file is not to be read or written again this run
    int32_t ReadOnlySaid = 0;
    SettingsFileValues Values;
    std::vector<std::string> Written; // names written this session, in order
    std::size_t SeenHash = 0;         // the text whose problems were last reported
    std::size_t SeenSize = 0;
    int32_t HasSeen = 0;
    std::vector<std::string> Said; // diagnostic lines written already
};

// The folder of the settings file: $XDG_CONFIG_HOME/Quorvanel (when absolute), else
// <home>/.config/Quorvanel with home from $HOME or else the password database; empty when
// there is none.
std::string ChooseSettingsFolder(const char* xdgConfigHome, const char* home,
                                 const char* passwordHome);

// As OpenSettingsStore: 1 open (*createdNew 1 when there was no file), 0 nothing to read.
int32_t OpenSettingsFileStore(SettingsFileStore* store, int32_t* createdNew);
void CloseSettingsFileStore(SettingsFileStore* store);
void WriteSettingsFileValue(SettingsFileStore* store, const char* name, int32_t isText,
                            const void* data, uint32_t size);
// As ReadStoreValue.
int32_t ReadSettingsFileValue(const SettingsFileStore* store, const char* name, void* data,
                              uint32_t* size);
// Writes a diagnostic line unless the store has written it before.
void SayOnce(SettingsFileStore* store, const std::string& line);
