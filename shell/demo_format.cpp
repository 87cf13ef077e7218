// The demo's text: a versioned header, then one event per line with its frame.
//
//   QUORVANEL-DEMO 1
//   depth 32
//   time 1700000000
//   clock 1843
//   settings PlayerSpeed=0 EnemySpeed=0 BallSpeed=1 BonusLife=0 Sounds=1 RandomGame=0 ...
//   name "Ann"
//   score 1 "Marlowe" 100000          (ten of these, best first)
//   214 down space
//   221 up space
//   1530 options PlayerSpeed=1 ...
//   3810 name "Ann Lee"
//   3825 end
//
// Blank lines and lines beginning with # are ignored. A key script is the event lines alone.
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "shell/demo.h"
#include "shell/keys.h"

const char* const DemoSettingNames[DemoSettingCount] = {
    "PlayerSpeed", "EnemySpeed", "BallSpeed",   "BonusLife",
    "Sounds",      "RandomGame", "RespawnFlag", "RespawnTime",
};

int32_t* DemoSettingField(int32_t index) {
    int32_t* const fields[DemoSettingCount] = {
        &Game.PlayerSpeed, &Game.EnemySpeed, &Game.BallSpeed,   &Game.BonusLife,
        &Game.Sounds,      &Game.RandomGame, &Game.RespawnFlag, &Game.RespawnTime,
    };
    return index >= 0 && index < DemoSettingCount ? fields[index] : nullptr;
}

namespace {

constexpr std::size_t MaxDemoBytes = 64u << 20;
constexpr std::size_t MaxDigestsPerLine = 64;

const struct {
    const char* Name;
    int32_t Code;
} KeyNames[] = {{"left", VkLeft},   {"right", VkRight},   {"up", VkUp},   {"down", VkDown},
                {"space", VkSpace}, {"escape", VkEscape}, {"f1", VkF1},   {"f2", VkF2},
                {"f5", VkF5},       {"f9", VkF9},         {"f11", VkF11}, {"f12", VkF12}};

const struct {
    const char* Name;
    DemoEventKind Kind;
} EventNames[] = {
    {"down", DemoEventKind::KeyDown},      {"up", DemoEventKind::KeyUp},
    {"options", DemoEventKind::Options},   {"name", DemoEventKind::Name},
    {"minimise", DemoEventKind::Minimise}, {"restore", DemoEventKind::Restore},
    {"clock", DemoEventKind::Clock},       {"clock-later", DemoEventKind::ClockLater},
    {"time", DemoEventKind::Time},         {"rebuild", DemoEventKind::Rebuild},
    {"check", DemoEventKind::Check},       {"end", DemoEventKind::End},
};

std::string Lowercase(std::string word) {
    for (char& c : word)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return word;
}

// A whole word as a decimal number within [minimum, maximum]; nothing else is accepted.
int32_t ParseInteger(const std::string& word, int64_t minimum, int64_t maximum, int64_t* value) {
    if (word.empty() || word.size() > 12 || word[0] == '+') return 0;
    int64_t v = 0;
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), v);
    if (ec != std::errc() || end != word.data() + word.size() || v < minimum || v > maximum)
        return 0;
    *value = v;
    return 1;
}

struct Token {
    std::string Text;
    int32_t Quoted = 0;
};

int32_t HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Splits a line at blanks; a text in double quotes is one token, with \" \\ and \xHH.
int32_t Tokenise(const std::string& line, std::vector<Token>* tokens, std::string* why) {
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t') {
            ++i;
            continue;
        }
        Token token;
        if (c != '"') {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                if (static_cast<unsigned char>(line[i]) < 0x20) {
                    *why = "control character in the line";
                    return 0;
                }
                token.Text += line[i++];
            }
            tokens->push_back(token);
            continue;
        }
        token.Quoted = 1;
        ++i;
        for (;;) {
            if (i >= line.size()) {
                *why = "text without its closing quote";
                return 0;
            }
            unsigned char q = static_cast<unsigned char>(line[i]);
            if (q == '"') {
                ++i;
                break;
            }
            if (q < 0x20) {
                *why = "control character in a text (write it as \\xHH)";
                return 0;
            }
            if (q != '\\') {
                token.Text += static_cast<char>(q);
                ++i;
                continue;
            }
            if (i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                token.Text += line[i + 1];
                i += 2;
            } else if (i + 3 < line.size() && line[i + 1] == 'x' && HexValue(line[i + 2]) >= 0 &&
                       HexValue(line[i + 3]) >= 0) {
                int32_t byte = HexValue(line[i + 2]) * 16 + HexValue(line[i + 3]);
                if (byte == 0) {
                    *why = "a text cannot hold a zero byte";
                    return 0;
                }
                token.Text += static_cast<char>(byte);
                i += 4;
            } else {
                *why = "unknown escape in a text (\\\" \\\\ and \\xHH are known)";
                return 0;
            }
        }
        if (i < line.size() && line[i] != ' ' && line[i] != '\t') {
            *why = "a closing quote must end the text";
            return 0;
        }
        tokens->push_back(token);
    }
    return 1;
}

// NAME=VALUE words: one to eight settings, each at most once; a value is whatever the
// settings store can hold, so that any game the desktop can play can be recorded.
int32_t ParseSettingWords(const std::vector<Token>& tokens, std::size_t first,
                          std::vector<DemoSetting>* settings, std::string* why) {
    int32_t seen[DemoSettingCount] = {};
    for (std::size_t t = first; t < tokens.size(); ++t) {
        const std::string& word = tokens[t].Text;
        std::size_t eq = word.find('=');
        if (tokens[t].Quoted || eq == std::string::npos) {
            *why = "expected NAME=VALUE, found '" + word + "'";
            return 0;
        }
        std::string name = word.substr(0, eq);
        int32_t index = 0;
        while (index < DemoSettingCount && name != DemoSettingNames[index]) ++index;
        if (index == DemoSettingCount) {
            *why = "unknown setting '" + name + "'";
            return 0;
        }
        if (seen[index]++) {
            *why = "setting " + name + " given twice";
            return 0;
        }
        int64_t value = 0;
        bool period = std::string(DemoSettingNames[index]) == "RespawnTime";
        if (!ParseInteger(word.substr(eq + 1), period ? 1 : INT32_MIN, period ? 3600 : INT32_MAX,
                          &value)) {
            *why = "bad value for " + name + ": '" + word.substr(eq + 1) + "'";
            return 0;
        }
        settings->push_back({index, static_cast<int32_t>(value)});
    }
    if (settings->empty()) {
        *why = "no settings given";
        return 0;
    }
    return 1;
}

int32_t ParseEventWords(const std::vector<Token>& tokens, int32_t demo, DemoEvent* event,
                        std::string* why) {
    int64_t frame = 0;
    if (tokens[0].Quoted || !ParseInteger(tokens[0].Text, demo ? 1 : 0, INT32_MAX - 1, &frame)) {
        *why = "bad frame number '" + tokens[0].Text + "'";
        return 0;
    }
    event->Frame = static_cast<int32_t>(frame);
    if (tokens.size() < 2) {
        *why = "an event is 'FRAME WHAT ...'";
        return 0;
    }
    std::string what = Lowercase(tokens[1].Text);
    auto kind = std::find_if(std::begin(EventNames), std::end(EventNames),
                             [&](const auto& e) { return what == e.Name; });
    if (tokens[1].Quoted || kind == std::end(EventNames)) {
        *why = "unknown event '" + tokens[1].Text + "'";
        return 0;
    }
    event->Kind = kind->Kind;
    std::size_t args = tokens.size() - 2;
    auto argsAre = [&](std::size_t n, const char* form) {
        if (args == n) return 1;
        *why = std::string("expected '") + form + "'";
        return 0;
    };
    switch (event->Kind) {
    case DemoEventKind::KeyDown:
    case DemoEventKind::KeyUp:
        if (!argsAre(1, "FRAME down KEY' or 'FRAME up KEY")) return 0;
        if (!ParseDemoKey(tokens[2].Text, &event->Key)) {
            *why = "unknown key '" + tokens[2].Text + "'";
            return 0;
        }
        return 1;
    case DemoEventKind::Options: return ParseSettingWords(tokens, 2, &event->Settings, why);
    case DemoEventKind::Name:
        if (!argsAre(1, "FRAME name \"TEXT\"")) return 0;
        if (!tokens[2].Quoted || tokens[2].Text.size() > PlayerNameSize - 1) {
            *why = "the name must be a quoted text of at most 47 characters";
            return 0;
        }
        event->Text = tokens[2].Text;
        return 1;
    case DemoEventKind::Clock:
    case DemoEventKind::ClockLater:
    case DemoEventKind::Time: {
        if (!argsAre(1, "FRAME clock|clock-later|time NUMBER")) return 0;
        int64_t value = 0;
        if (!ParseInteger(tokens[2].Text, 0, UINT32_MAX, &value)) {
            *why = "bad number '" + tokens[2].Text + "'";
            return 0;
        }
        event->Value = static_cast<uint32_t>(value);
        return 1;
    }
    case DemoEventKind::Check: {
        if (!argsAre(1, "FRAME check HEX")) return 0;
        // Two hex digits a frame, for the frames just before this one.
        const std::string& d = tokens[2].Text;
        std::size_t count = d.size() / 2;
        if (d.size() % 2 != 0 || count < 1 || count > MaxDigestsPerLine ||
            std::any_of(d.begin(), d.end(), [](char c) { return HexValue(c) < 0; })) {
            *why = "a check is 2 to 128 hex digits, two a frame, not '" + d + "'";
            return 0;
        }
        if (event->Frame <= static_cast<int32_t>(count)) {
            *why = "a check of " + std::to_string(count) + " frames before frame " +
                   std::to_string(event->Frame);
            return 0;
        }
        for (std::size_t i = 0; i < d.size(); i += 2)
            event->Digests.push_back(
                static_cast<uint8_t>(HexValue(d[i]) * 16 + HexValue(d[i + 1])));
        return 1;
    }
    default: return argsAre(0, ("FRAME " + what).c_str());
    }
}

// A header line: KEYWORD VALUES...; each keyword once, "score" once for each place.
int32_t ParseHeaderWords(const std::vector<Token>& tokens, Demo* demo, int32_t* seen,
                         std::string* why) {
    static const char* const keywords[] = {"depth", "time", "clock", "settings", "name", "score"};
    int32_t k = 0;
    while (k < 6 && (tokens[0].Quoted || tokens[0].Text != keywords[k])) ++k;
    if (k == 6) {
        *why = "unknown header line '" + tokens[0].Text + "'";
        return 0;
    }
    int64_t value = 0;
    switch (k) {
    case 0:
        if (tokens.size() != 2 || !ParseInteger(tokens[1].Text, 8, 32, &value) ||
            (value != 8 && value != 16 && value != 24 && value != 32)) {
            *why = "expected 'depth 8|16|24|32'";
            return 0;
        }
        demo->Depth = static_cast<int32_t>(value);
        break;
    case 1:
    case 2:
        if (tokens.size() != 2 || !ParseInteger(tokens[1].Text, 0, UINT32_MAX, &value)) {
            *why = std::string("expected '") + keywords[k] + " NUMBER'";
            return 0;
        }
        (k == 1 ? demo->TimeSeconds : demo->StartClock) = static_cast<uint32_t>(value);
        break;
    case 3:
        if (!ParseSettingWords(tokens, 1, &demo->Settings, why)) return 0;
        if (demo->Settings.size() != DemoSettingCount) {
            *why = "the header's settings line names all eight settings";
            return 0;
        }
        break;
    case 4:
        if (tokens.size() != 2 || !tokens[1].Quoted || tokens[1].Text.size() > PlayerNameSize - 1) {
            *why = "expected 'name \"TEXT\"', at most 47 characters";
            return 0;
        }
        demo->PlayerName = tokens[1].Text;
        break;
    default: {
        int64_t place = 0, score = 0;
        if (tokens.size() != 4 || !ParseInteger(tokens[1].Text, 1, HighScoreEntries, &place) ||
            !tokens[2].Quoted || tokens[2].Text.size() > HighScoreNameSize - 1 ||
            !ParseInteger(tokens[3].Text, INT32_MIN, INT32_MAX, &score)) {
            *why = "expected 'score PLACE \"NAME\" SCORE', places 1 to 10";
            return 0;
        }
        if (seen[5 + place]++) {
            *why = "place " + std::to_string(place) + " given twice";
            return 0;
        }
        HighScoreEntry& entry = demo->HighScores[place - 1];
        std::memset(entry.Name, 0, sizeof entry.Name);
        std::memcpy(entry.Name, tokens[2].Text.data(), tokens[2].Text.size());
        entry.Score = static_cast<int32_t>(score);
        return 1;
    }
    }
    if (seen[k]++) {
        *why = std::string("'") + keywords[k] + "' given twice";
        return 0;
    }
    return 1;
}

} // namespace

int32_t ParseDemoKey(const std::string& word, int32_t* virtualKey) {
    std::string lower = Lowercase(word);
    for (const auto& n : KeyNames)
        if (lower == n.Name) {
            *virtualKey = n.Code;
            return 1;
        }
    int64_t code = 0;
    if (!ParseInteger(word, 1, 255, &code)) return 0;
    *virtualKey = static_cast<int32_t>(code);
    return 1;
}

int32_t ParseDemoText(const std::string& text, const std::string& fileName, int32_t demoOnly,
                      Demo* demo, std::string* error) {
    *demo = Demo{};
    std::istringstream lines(text);
    std::string line;
    int32_t lineNumber = 0;
    int32_t inHeader = 0, sawAnything = 0, ended = 0;
    int32_t seen[16] = {}; // header keywords, then the ten score places
    auto fail = [&](const std::string& why) {
        *error = fileName + ":" + std::to_string(lineNumber) + ": " + why;
        return 0;
    };
    while (std::getline(lines, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') continue;
        std::vector<Token> tokens;
        std::string why;
        if (!Tokenise(line, &tokens, &why)) {
            if (!sawAnything && demoOnly) break; // garbage: said below
            return fail(why);
        }

        if (!sawAnything) {
            sawAnything = 1;
            if (!tokens[0].Quoted && tokens[0].Text == DemoMagic) {
                int64_t version = 0;
                if (tokens.size() != 2 || !ParseInteger(tokens[1].Text, 1, INT32_MAX, &version))
                    return fail(std::string("expected '") + DemoMagic + " VERSION'");
                if (version > DemoVersion) {
                    *error = fileName + ": a demo of version " + std::to_string(version) +
                             ", newer than this build plays (versions up to " +
                             std::to_string(DemoVersion) + ")";
                    return 0;
                }
                demo->Version = static_cast<int32_t>(version);
                demo->HasHeader = inHeader = 1;
                continue;
            }
            if (demoOnly) break;
        }

        if (inHeader && !(tokens[0].Text[0] >= '0' && tokens[0].Text[0] <= '9')) {
            if (!ParseHeaderWords(tokens, demo, seen, &why)) return fail(why);
            continue;
        }
        if (inHeader) {
            // The first event: the header must be whole by now.
            static const char* const keywords[] = {"depth", "time", "clock", "settings", "name"};
            for (int32_t k = 0; k < 5; ++k)
                if (!seen[k])
                    return fail(std::string("the header has no '") + keywords[k] + "' line");
            for (int32_t place = 1; place <= HighScoreEntries; ++place)
                if (!seen[5 + place])
                    return fail("the header has no score for place " + std::to_string(place));
            inHeader = 0;
        }
        if (ended) return fail("an event after the end line");
        DemoEvent event;
        event.Line = lineNumber;
        if (!ParseEventWords(tokens, demo->HasHeader, &event, &why)) return fail(why);
        if (demo->HasHeader && !demo->Events.empty() && event.Frame < demo->Events.back().Frame)
            return fail("events out of frame order: frame " + std::to_string(event.Frame) +
                        " after frame " + std::to_string(demo->Events.back().Frame));
        if (event.Kind == DemoEventKind::End) {
            if (!demo->HasHeader) return fail("an end line belongs to a demo, not a key script");
            demo->EndFrame = event.Frame;
            ended = 1;
            continue;
        }
        demo->Events.push_back(event);
    }

    if (demoOnly && !demo->HasHeader) {
        *error = fileName + ": not a Quorvanel demo: it does not begin with '" + DemoMagic + " " +
                 std::to_string(DemoVersion) + "'";
        return 0;
    }
    if (demo->HasHeader && inHeader) {
        *error = fileName + ": the demo ends inside its header: the file is cut short";
        return 0;
    }
    if (demo->HasHeader && !ended) {
        *error = fileName + ": the demo has no end line: the file is cut short";
        return 0;
    }
    // A script's events may come in any order; within a frame their order stands.
    if (!demo->HasHeader)
        std::stable_sort(demo->Events.begin(), demo->Events.end(),
                         [](const DemoEvent& a, const DemoEvent& b) { return a.Frame < b.Frame; });
    return 1;
}

int32_t ReadDemoFile(const std::string& path, int32_t demoOnly, Demo* demo, std::string* error) {
    const std::string what =
        std::string("cannot read ") + (demoOnly ? "demo" : "script") + " '" + path + "': ";
    // A demo may come through a pipe (a shell's <(...)), so only a directory is refused
    // before reading.
    std::error_code status;
    if (std::filesystem::is_directory(path, status)) {
        *error = what + "is a directory";
        return 0;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        *error = what + std::strerror(errno);
        return 0;
    }
    std::string text;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() <= MaxDemoBytes)
        text.append(buffer, got);
    int32_t failed = std::ferror(file);
    if (failed) *error = what + std::strerror(errno);
    std::fclose(file);
    if (failed) return 0;
    if (text.size() > MaxDemoBytes) {
        *error = what + "larger than any demo (64 MB)";
        return 0;
    }
    return ParseDemoText(text, path, demoOnly, demo, error);
}

std::string QuoteDemoText(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            const char* hex = "0123456789abcdef";
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

namespace {

std::string SettingWords(const std::vector<DemoSetting>& settings) {
    std::string text;
    for (const DemoSetting& s : settings)
        text += std::string(" ") + DemoSettingNames[s.Index] + "=" + std::to_string(s.Value);
    return text;
}

std::string KeyWord(int32_t code) {
    for (const auto& n : KeyNames)
        if (n.Code == code) return n.Name;
    return std::to_string(code);
}

} // namespace

std::string DemoHeaderText(const Demo& demo) {
    std::string text = std::string(DemoMagic) + " " + std::to_string(DemoVersion) + "\n";
    text += "depth " + std::to_string(demo.Depth) + "\n";
    text += "time " + std::to_string(demo.TimeSeconds) + "\n";
    text += "clock " + std::to_string(demo.StartClock) + "\n";
    text += "settings" + SettingWords(demo.Settings) + "\n";
    text += "name " + QuoteDemoText(demo.PlayerName) + "\n";
    for (int32_t i = 0; i < HighScoreEntries; ++i) {
        const HighScoreEntry& entry = demo.HighScores[i];
        text += "score " + std::to_string(i + 1) + " " +
                QuoteDemoText(std::string(entry.Name, strnlen(entry.Name, HighScoreNameSize))) +
                " " + std::to_string(entry.Score) + "\n";
    }
    return text;
}

std::string DemoEventText(const DemoEvent& event) {
    std::string text = std::to_string(event.Frame) + " ";
    for (const auto& e : EventNames)
        if (e.Kind == event.Kind) text += e.Name;
    switch (event.Kind) {
    case DemoEventKind::KeyDown:
    case DemoEventKind::KeyUp: text += " " + KeyWord(event.Key); break;
    case DemoEventKind::Options: text += SettingWords(event.Settings); break;
    case DemoEventKind::Name: text += " " + QuoteDemoText(event.Text); break;
    case DemoEventKind::Clock:
    case DemoEventKind::ClockLater:
    case DemoEventKind::Time: text += " " + std::to_string(event.Value); break;
    case DemoEventKind::Check:
        text += " ";
        for (uint8_t d : event.Digests) {
            char pair[4];
            std::snprintf(pair, sizeof pair, "%02x", d);
            text += pair;
        }
        break;
    default: break;
    }
    return text + "\n";
}
