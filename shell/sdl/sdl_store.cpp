// The settings store of the desktop build: one file under the XDG config directory, read
// whole when opened and merged into the file as it then is when closed after a write.
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "shell/platform.h"
#include "shell/settings_file_store.h"
#include "shell/settings_store.h"

namespace {

SettingsFileStore Store;
int32_t PathChosen = 0;

void ChoosePath() {
    PathChosen = 1;
    const passwd* entry = getpwuid(getuid());
    std::string folder = ChooseSettingsFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"),
                                              entry ? entry->pw_dir : nullptr);
    if (folder.empty())
        DebugOutput("OpenSettingsStore: no home folder (neither HOME nor XDG_CONFIG_HOME is set, "
                    "and the password database has none); nothing will be saved.\n");
    else
        Store.Path = folder + "/settings";
}

} // namespace

int32_t OpenSettingsStore(int32_t* createdNew) {
    if (!PathChosen) ChoosePath();
    return OpenSettingsFileStore(&Store, createdNew);
}

void CloseSettingsStore() {
    CloseSettingsFileStore(&Store);
}

void WriteStoreBinary(const char* name, const void* data, uint32_t size) {
    WriteSettingsFileValue(&Store, name, 0, data, size);
}

void WriteStoreText(const char* name, const char* text) {
    WriteSettingsFileValue(&Store, name, 1, text, static_cast<uint32_t>(std::strlen(text) + 1));
}

int32_t ReadStoreValue(const char* name, void* data, uint32_t* size) {
    return ReadSettingsFileValue(&Store, name, data, size);
}
