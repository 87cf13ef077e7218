#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "game/game_record.h"
#include "shell/keys.h"
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

std::string Lowercase(std::string word) {
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return word;
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

// A script may come through a pipe (a shell's <(...)), so only a directory is refused
// before reading.
int32_t ReadWholeFile(const std::string& path, std::string* text, std::string* problem) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        *problem = "is a directory";
        return 0;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *problem = std::strerror(errno);
        return 0;
    }
    char buffer[4096];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, got);
    int32_t ok = !std::ferror(file);
    if (!ok) *problem = std::strerror(errno);
    std::fclose(file);
    return ok;
}

} // namespace

const char* SimUsage() {
    return "Usage: quorvanel-sim [options]\n"
           "Runs the game headless: a clock advancing 17 ms per frame, scripted keys,\n"
           "in-memory settings.\n"
           "\n"
           "  --frames N            frames to run (default 1000); frame 1 is the first\n"
           "  --time T              current time in seconds, seeds the title balls (default 0)\n"
           "  --script FILE         key events, one per line: FRAME down KEY or FRAME up KEY,\n"
           "                        applied just before frame FRAME runs; KEY is one of\n"
           "                        left right up down space escape f1 f2 f5 or a decimal\n"
           "                        virtual-key code; blank lines and # comments are ignored\n"
           "  --settings N=V,...    settings applied after loading: PlayerSpeed, BallSpeed,\n"
           "                        EnemySpeed, Sounds, RandomGame, RespawnFlag (0 or 1),\n"
           "                        BonusLife (0..2), RespawnTime (15, 30, 45 or 60)\n"
           "  --name TEXT           the answer to the high-score name dialog\n"
           "  --depth D             display depth 8, 16, 24 or 32 (default 32)\n"
           "  --shot FRAME:FILE     PNG of the picture presented at the end of FRAME\n"
           "                        (repeatable)\n"
           "  --state FILE          JSON dump of the game record, balls, enemies in play,\n"
           "                        high scores, colour table and sounds at the end\n"
           "  --help                this text\n"
           "\n"
           "Exit codes: 0 success, 1 an output file could not be written (each is tried\n"
           "before the first frame runs), 2 bad usage.\n";
}

int32_t ParseKeyName(const std::string& word, int32_t* virtualKey) {
    static const struct {
        const char* Name;
        int32_t Code;
    } names[] = {{"left", VkLeft}, {"right", VkRight}, {"up", VkUp},
                 {"down", VkDown}, {"space", VkSpace}, {"escape", VkEscape},
                 {"f1", VkF1},     {"f2", VkF2},       {"f5", VkF5}};
    std::string lower = Lowercase(word);
    for (const auto& n : names)
        if (lower == n.Name) {
            *virtualKey = n.Code;
            return 1;
        }
    int64_t code = 0;
    if (!ParseNumber(word, 255, &code) || code == 0) return 0;
    *virtualKey = static_cast<int32_t>(code);
    return 1;
}

int32_t ParseScriptText(const std::string& text, const std::string& fileName,
                        std::vector<ScriptEvent>* events, std::string* error) {
    std::istringstream lines(text);
    std::string line;
    int32_t lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::vector<std::string> tokens;
        for (std::string w; words >> w;) tokens.push_back(w);
        if (tokens.empty() || tokens[0][0] == '#') continue;

        auto fail = [&](const std::string& why) {
            *error = fileName + ":" + std::to_string(lineNumber) + ": " + why;
            return 0;
        };
        if (tokens.size() != 3) return fail("expected 'FRAME down KEY' or 'FRAME up KEY'");
        int64_t frame = 0;
        if (!ParseNumber(tokens[0], INT32_MAX, &frame))
            return fail("bad frame number '" + tokens[0] + "'");
        ScriptEvent event;
        event.Frame = static_cast<int32_t>(frame);
        std::string action = Lowercase(tokens[1]);
        if (action == "down")
            event.Down = 1;
        else if (action == "up")
            event.Down = 0;
        else
            return fail("expected 'down' or 'up', found '" + tokens[1] + "'");
        if (!ParseKeyName(tokens[2], &event.VirtualKey))
            return fail("unknown key '" + tokens[2] + "'");
        events->push_back(event);
    }
    return 1;
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
        static const char* const withValue[] = {"--frames", "--time",  "--script", "--settings",
                                                "--name",   "--depth", "--shot",   "--state"};
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
        } else if (option == "--time") {
            if (!ParseNumber(value, UINT32_MAX, &number)) {
                *error = "bad time '" + value + "'";
                return 0;
            }
            options->TimeSeconds = static_cast<uint32_t>(number);
        } else if (option == "--script") {
            std::string text;
            std::string problem;
            if (!ReadWholeFile(value, &text, &problem)) {
                *error = "cannot read script '" + value + "': " + problem;
                return 0;
            }
            options->ScriptPath = value;
            if (!ParseScriptText(text, value, &options->Script, error)) return 0;
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
        }
    }
    for (const ShotRequest& shot : options->Shots)
        if (shot.Frame > options->Frames) {
            *error = "shot frame " + std::to_string(shot.Frame) + " is beyond --frames " +
                     std::to_string(options->Frames);
            return 0;
        }
    return 1;
}
