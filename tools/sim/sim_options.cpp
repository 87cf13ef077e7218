#include <algorithm>
#include <charconv>
#include <sstream>

#include "game/game_record.h"
#include "tools/sim/sim.h"

namespace {

// A whole word as a non-negative decimal number; nothing else is accepted.
int32_t ParseNumber(const std::string& word, int64_t maximum, int64_t* value) {
    if (word.empty() || word.size() > 12) return 0;
    int64_t v = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || v < 0 || v > maximum) return 0;
    *value = v;
    return 1;
}

struct SettingRule {
    const char* Name;
    int32_t Allowed[4];
    int32_t AllowedCount;
};

constexpr SettingRule SettingRules[] = {
    {"PlayerSpeed", {0, 1}, 2}, {"BallSpeed", {0, 1}, 2},
    {"EnemySpeed", {0, 1}, 2},  {"BonusLife", {0, 1, 2}, 3},
    {"Sounds", {0, 1}, 2},      {"RandomGame", {0, 1}, 2},
    {"RespawnFlag", {0, 1}, 2}, {"RespawnTime", {15, 30, 45, 60}, 4},
};

const SettingRule* FindSettingRule(const std::string& name) {
    for (const SettingRule& rule : SettingRules)
        if (name == rule.Name) return &rule;
    return nullptr;
}

} // namespace

const char* SimUsage() {
    return "Usage: quorvanel-sim [options]\n"
           "       quorvanel-sim --compare EXPECTED ACTUAL\n"
           "Runs the game headless: a clock advancing 17 ms per frame, scripted keys or a\n"
           "recorded game, in-memory settings.\n"
           "\n"
           "  --frames N            frames to run (default 1000, or a demo's length); frame 1\n"
           "                        is the first\n"
           "  --time T              current time in seconds, seeds the title balls (default 0)\n"
           "  --script FILE         key events, one per line: FRAME down KEY or FRAME up KEY,\n"
           "                        applied just before frame FRAME runs; KEY is one of\n"
           "                        left right up down space escape f1 f2 f5 f9 f11 or a\n"
           "                        decimal virtual-key code; blank lines and # comments are\n"
           "                        ignored. The other events of a demo may be used too:\n"
           "                        FRAME name \"TEXT\", FRAME options NAME=VALUE...,\n"
           "                        FRAME minimise, FRAME restore. A demo is played as with\n"
           "                        --demo.\n"
           "  --demo FILE           plays a recorded game (QUORVANEL-DEMO) from its own\n"
           "                        settings, tables, time and clock to its end, checking each\n"
           "                        frame against the recording\n"
           "  --record FILE         records the run as a demo\n"
           "  --trace FILE          one line per frame: every field of the record and a hash\n"
           "                        of each table and of the grid\n"
           "  --settings N=V,...    settings applied after loading: PlayerSpeed, BallSpeed,\n"
           "                        EnemySpeed, Sounds, RandomGame, RespawnFlag (0 or 1),\n"
           "                        BonusLife (0..2), RespawnTime (15, 30, 45 or 60)\n"
           "  --name TEXT           the answer to the high-score name dialog\n"
           "  --depth D             display depth 8, 16, 24 or 32 (default 32)\n"
           "  --shot FRAME:FILE     PNG of the picture presented at the end of FRAME\n"
           "                        (repeatable)\n"
           "  --state FILE          JSON dump of the game record, balls, enemies in play,\n"
           "                        high scores, colour tables, random generator, sounds and\n"
           "                        the whole grid (run-length coded) at the end\n"
           "  --compare A B         compares two state dumps (or two traces) and lists every\n"
           "                        difference (for traces, the first frame that differs)\n"
           "  --help                this text\n"
           "\n"
           "Exit codes: 0 success, 1 an output file could not be written (each is tried\n"
           "before the first frame runs), 2 bad usage or an unreadable script or demo, 3 the\n"
           "replay departed from its recording (or the two compared files differ).\n";
}

int32_t ParseSettingsList(const std::string& text, std::vector<SettingValue>* settings,
                          std::string* error) {
    std::istringstream items(text);
    std::string item;
    int32_t any = 0;
    while (std::getline(items, item, ',')) {
        any = 1;
        std::size_t eq = item.find('=');
        if (eq == std::string::npos) {
            *error = "setting '" + item + "' is not NAME=VALUE";
            return 0;
        }
        SettingValue setting;
        setting.Name = item.substr(0, eq);
        const SettingRule* rule = FindSettingRule(setting.Name);
        if (!rule) {
            *error = "unknown setting '" + setting.Name + "'";
            return 0;
        }
        int64_t value = 0;
        std::string valueText = item.substr(eq + 1);
        bool allowed = ParseNumber(valueText, INT32_MAX, &value) != 0;
        if (allowed)
            allowed = std::find(rule->Allowed, rule->Allowed + rule->AllowedCount, value) !=
                      rule->Allowed + rule->AllowedCount;
        if (!allowed) {
            *error = "value '" + valueText + "' out of range for setting " + setting.Name;
            return 0;
        }
        setting.Value = static_cast<int32_t>(value);
        settings->push_back(setting);
    }
    if (!any) {
        *error = "--settings needs NAME=VALUE,...";
        return 0;
    }
    return 1;
}

int32_t ApplySetting(const SettingValue& setting) {
    struct Field {
        const char* Name;
        int32_t* Value;
    };
    const Field fields[] = {
        {"PlayerSpeed", &Game.PlayerSpeed}, {"BallSpeed", &Game.BallSpeed},
        {"EnemySpeed", &Game.EnemySpeed},   {"BonusLife", &Game.BonusLife},
        {"Sounds", &Game.Sounds},           {"RandomGame", &Game.RandomGame},
        {"RespawnFlag", &Game.RespawnFlag}, {"RespawnTime", &Game.RespawnTime},
    };
    for (const Field& f : fields)
        if (setting.Name == f.Name) {
            *f.Value = setting.Value;
            return 1;
        }
    return 0;
}

int32_t ParseSimOptions(int32_t argc, char** argv, SimOptions* options, std::string* error) {
    for (int32_t i = 1; i < argc; ++i) {
        std::string option = argv[i];
        std::string value;
        int32_t hasValue = 0;
        std::size_t eq = option.find('=');
        if (option.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = option.substr(eq + 1);
            option = option.substr(0, eq);
            hasValue = 1;
        }
        if (option == "--help" || option == "-h") {
            options->ShowHelp = 1;
            continue;
        }
        if (option == "--compare") {
            if (hasValue || i + 2 >= argc) {
                *error = "--compare needs two files";
                return 0;
            }
            options->Compare = {argv[i + 1], argv[i + 2]};
            i += 2;
            continue;
        }
        static const char* const withValue[] = {"--frames",   "--time",   "--script", "--demo",
                                                "--settings", "--name",   "--depth",  "--shot",
                                                "--state",    "--record", "--trace"};
        if (std::find_if(std::begin(withValue), std::end(withValue),
                         [&](const char* o) { return option == o; }) == std::end(withValue)) {
            *error = "unknown option '" + option + "'";
            return 0;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                *error = option + " needs a value";
                return 0;
            }
            value = argv[++i];
        }

        int64_t number = 0;
        if (option == "--frames") {
            if (!ParseNumber(value, INT32_MAX - 1, &number)) {
                *error = "bad frame count '" + value + "'";
                return 0;
            }
            options->Frames = static_cast<int32_t>(number);
            options->FramesGiven = 1;
        } else if (option == "--time") {
            if (!ParseNumber(value, UINT32_MAX, &number)) {
                *error = "bad time '" + value + "'";
                return 0;
            }
            options->TimeSeconds = static_cast<uint32_t>(number);
        } else if (option == "--script" || option == "--demo") {
            if (!options->ScriptPath.empty()) {
                *error = "one script or demo at a time";
                return 0;
            }
            if (!ReadDemoFile(value, option == "--demo", &options->Script, error)) return 0;
            options->ScriptPath = value;
            options->IsDemo = options->Script.HasHeader;
        } else if (option == "--settings") {
            if (!ParseSettingsList(value, &options->Settings, error)) return 0;
        } else if (option == "--name") {
            options->HasName = 1;
            options->Name = value;
        } else if (option == "--depth") {
            if (!ParseNumber(value, 32, &number) ||
                (number != 8 && number != 16 && number != 24 && number != 32)) {
                *error = "depth must be 8, 16, 24 or 32, not '" + value + "'";
                return 0;
            }
            options->Depth = static_cast<int32_t>(number);
            options->DepthGiven = 1;
        } else if (option == "--shot") {
            std::size_t colon = value.find(':');
            ShotRequest shot;
            if (colon == std::string::npos ||
                !ParseNumber(value.substr(0, colon), INT32_MAX, &number) || number < 1 ||
                colon + 1 >= value.size()) {
                *error = "--shot needs FRAME:FILE with FRAME 1 or more, not '" + value + "'";
                return 0;
            }
            shot.Frame = static_cast<int32_t>(number);
            shot.Path = value.substr(colon + 1);
            options->Shots.push_back(shot);
        } else if (option == "--state") {
            options->StatePath = value;
        } else if (option == "--record") {
            options->RecordPath = value;
        } else if (option == "--trace") {
            options->TracePath = value;
        }
    }
    if (!options->Compare.empty()) return 1;
    if (options->IsDemo) {
        // A recorded game brings its own start: what the options would set is its to say.
        if (!options->Settings.empty() || options->HasName || options->DepthGiven ||
            options->TimeSeconds != 0) {
            *error = "a demo brings its own settings, name, depth and time";
            return 0;
        }
        options->Depth = options->Script.Depth;
        int32_t length = options->Script.EndFrame - 1;
        if (!options->FramesGiven || options->Frames > length) options->Frames = length;
    }
    for (const ShotRequest& shot : options->Shots)
        if (shot.Frame > options->Frames) {
            *error = "shot frame " + std::to_string(shot.Frame) + " is beyond the last frame, " +
                     std::to_string(options->Frames);
            return 0;
        }
    return 1;
}
