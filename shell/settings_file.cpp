#include "shell/settings_file.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>

#include "game/game_record.h"
#include "shell/platform.h"

namespace {

constexpr std::size_t NameLimit = 32;
constexpr int32_t NumberSize = 4;

struct ValueShape {
    int32_t Known = 0;
    int32_t IsText = 0;
    uint32_t MaxSize = 0; // bytes, a text's terminating zero included
};

int32_t TwoDigitEntry(std::string_view tail) {
    if (tail.size() != 2 || tail[0] < '0' || tail[0] > '9' || tail[1] < '0' || tail[1] > '9')
        return 0;
    int32_t n = (tail[0] - '0') * 10 + (tail[1] - '0');
    return n >= 1 && n <= HighScoreEntries ? n : 0;
}

// The values the game stores are checked for their own type and size. Any other well-formed
// value is kept as it stands: another build may have written it, and it is saved back.
ValueShape ShapeOf(std::string_view name) {
    static const char* const numbers[] = {"PlayerSpeed", "Sounds",    "RandomGame",  "BallSpeed",
                                          "EnemySpeed",  "BonusLife", "RespawnFlag", "RespawnTime"};
    for (const char* n : numbers)
        if (name == n) return {1, 0, NumberSize};
    if (name == "PlayerName") return {1, 1, PlayerNameSize};
    if (name.starts_with("PlayerName") && TwoDigitEntry(name.substr(10)))
        return {1, 1, HighScoreNameSize};
    if (name.starts_with("PlayerScore") && TwoDigitEntry(name.substr(11)))
        return {1, 0, NumberSize};
    return {};
}

int32_t IsNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

int32_t HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

int32_t DecodeHex(std::string_view hex, std::vector<uint8_t>* out) {
    if (hex.size() % 2 != 0) return 0;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int32_t high = HexDigit(hex[i]), low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) return 0;
        out->push_back(static_cast<uint8_t>(high * 16 + low));
    }
    return 1;
}

// Text ends up with its terminating zero; an escaped zero would cut it short and is refused.
int32_t DecodeText(std::string_view text, std::vector<uint8_t>* out) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<uint8_t>(text[i]);
        if (c == '\\') {
            if (i + 3 >= text.size()) return 0;
            if (text[i + 1] != 'x') return 0;
            int32_t high = HexDigit(text[i + 2]), low = HexDigit(text[i + 3]);
            if (high < 0 || low < 0) return 0;
            c = static_cast<uint8_t>(high * 16 + low);
            i += 3;
        } else if (c < 0x20 || c == 0x7F) {
            return 0;
        }
        if (c == 0) return 0;
        out->push_back(c);
    }
    out->push_back(0);
    return 1;
}

// A file of garbage could otherwise bury the diagnostic output under millions of lines.
constexpr int32_t ReportLimit = 100;

int32_t Reporting = 1;
int32_t Reported = 0;

void Report(int32_t line, std::string_view name, const char* what) {
    if (!Reporting) return;
    if (++Reported > ReportLimit) {
        if (Reported == ReportLimit + 1)
            DebugOutput("ReadSettingsFile: further problems are not reported.\n");
        return;
    }
    char text[160];
    if (name.empty())
        std::snprintf(text, sizeof text, "ReadSettingsFile: line %d: %s; ignored.\n",
                      static_cast<int>(line), what);
    else
        std::snprintf(text, sizeof text, "ReadSettingsFile: line %d (%.*s): %s; ignored.\n",
                      static_cast<int>(line), static_cast<int>(name.size()), name.data(), what);
    DebugOutput(text);
}

using NameSet = std::unordered_set<std::string_view>;

void ParseLine(std::string_view line, int32_t number, SettingsFileValues* values, NameSet* seen) {
    if (line.size() > SettingsLineLimit) return Report(number, {}, "line too long");
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return Report(number, {}, "no '='");
    std::string_view name = line.substr(0, equals);
    if (name.empty() || name.size() > NameLimit) return Report(number, {}, "bad value name");
    for (char c : name)
        if (!IsNameCharacter(c)) return Report(number, {}, "bad value name");
    std::string_view coded = line.substr(equals + 1);
    if (coded.size() < 2 || coded[1] != ':' || (coded[0] != 'b' && coded[0] != 's'))
        return Report(number, name, "no type prefix");
    const int32_t isText = coded[0] == 's';
    ValueShape shape = ShapeOf(name);
    if (shape.Known && isText != shape.IsText) return Report(number, name, "wrong type");
    if (seen->contains(name)) return Report(number, name, "given twice");

    std::vector<uint8_t> data;
    int32_t ok = isText ? DecodeText(coded.substr(2), &data) : DecodeHex(coded.substr(2), &data);
    if (!ok) return Report(number, name, "malformed data");
    if (shape.Known && (isText ? data.size() > shape.MaxSize : data.size() != shape.MaxSize))
        return Report(number, name, isText ? "text too long" : "wrong size");
    values->push_back({std::string(name), isText, std::move(data)});
    seen->insert(name);
}

} // namespace

SettingsFileValues ParseSettingsText(std::string_view text, int32_t reportProblems) {
    Reporting = reportProblems;
    Reported = 0;
    SettingsFileValues values;
    NameSet seen; // views into text, which outlives the parse
    int32_t number = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') continue;
        ParseLine(line, number, &values, &seen);
    }
    Reporting = 1;
    return values;
}

std::string SerialiseSettings(const SettingsFileValues& values) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out = "# Quorvanel settings and best scores; rewritten whenever they are saved.\n";
    for (const SettingsFileValue& v : values) {
        out += v.Name;
        out += v.IsText ? "=s:" : "=b:";
        std::size_t size = v.Data.size();
        if (v.IsText && size > 0 && v.Data[size - 1] == 0) --size;
        for (std::size_t i = 0; i < size; ++i) {
            uint8_t c = v.Data[i];
            if (v.IsText && c >= 0x20 && c != 0x7F && c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (v.IsText) out += "\\x";
            out += digits[c >> 4];
            out += digits[c & 15];
        }
        out += '\n';
    }
    return out;
}

void PutSettingsValue(SettingsFileValues* values, const std::string& name, int32_t isText,
                      const void* data, uint32_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (SettingsFileValue& v : *values) {
        if (v.Name != name) continue;
        v.IsText = isText;
        v.Data.assign(bytes, bytes + size);
        return;
    }
    values->push_back({name, isText, std::vector<uint8_t>(bytes, bytes + size)});
}

const SettingsFileValue* FindSettingsValue(const SettingsFileValues& values,
                                           const std::string& name) {
    for (const SettingsFileValue& v : values)
        if (v.Name == name) return &v;
    return nullptr;
}
