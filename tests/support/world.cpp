#include "tests/support/world.h"

#include <set>
#include <string>

#include <unistd.h>

#include "display/draw.h"
#include "display/software/surface.h"
#include "game/game_record.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/headless/headless.h"
#include "shell/settings.h"

void ResetWorld(int32_t bitsPerPixel) {
    ResetGameRecord();
    ResetHeadless();
    ResetDemoSession();
    SettingsStoreFrozen = 0;
    ResetClaimColours();
    ReleaseSoftwareDisplay();
    CreateSoftwareDisplay(bitsPerPixel);
    AllocPlayfield();
}

void MakeLevelGrid(int32_t statusWalls) {
    AllocPlayfield();
    for (int32_t y = 0; y < PlayfieldHeight; ++y)
        for (int32_t x = 0; x < PlayfieldWidth; ++x) {
            bool frame = x < 4 || x > 395 || (y >= 46 && y < 50) || y > 295;
            bool status = y < 46;
            uint8_t code = CellOpen;
            if (status ? statusWalls != 0 : frame) code = CellWall;
            SetCell(x, y, code);
        }
}

namespace {

// Every scratch directory made, removed when the test process ends, whatever the test did.
struct ScratchDirectories {
    std::set<std::filesystem::path> Made;
    ~ScratchDirectories() {
        std::error_code error;
        for (const auto& dir : Made) std::filesystem::remove_all(dir, error);
    }
};

ScratchDirectories& Scratch() {
    static ScratchDirectories scratch;
    return scratch;
}

} // namespace

std::filesystem::path PrivateTempDir(const char* tag) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("quorvanel-" + std::string(tag) + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    Scratch().Made.insert(dir);
    return dir;
}
