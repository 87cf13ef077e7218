// Comparing what two replays of one game ended in (state dumps) or went through (traces),
// in words a person can act on: the fields that differ, with both values, and for traces
// the first frame at which they part.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "playfield/playfield.h"
#include "tools/sim/sim.h"

namespace {

constexpr int32_t MaxReportedDifferences = 40;

int32_t ReadFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return 0;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    *text = buffer.str();
    return 1;
}

// The dump's JSON flattened to "path = value" pairs in document order, e.g. "Balls[3].X"
// and "HighScoreTable[0].Name" (strings keep their quotes). Enough JSON for the dumps.
struct Flattener {
    const std::string& Text;
    std::size_t At = 0;
    std::vector<std::pair<std::string, std::string>> Fields;

    void Blanks() {
        while (At < Text.size() &&
               (Text[At] == ' ' || Text[At] == '\n' || Text[At] == '\r' || Text[At] == '\t'))
            ++At;
    }
    int32_t String(std::string* out) {
        if (At >= Text.size() || Text[At] != '"') return 0;
        std::size_t start = At++;
        while (At < Text.size() && Text[At] != '"') At += Text[At] == '\\' ? 2 : 1;
        if (At >= Text.size()) return 0;
        *out = Text.substr(start, ++At - start);
        return 1;
    }
    int32_t Value(const std::string& path) {
        Blanks();
        if (At >= Text.size()) return 0;
        char c = Text[At];
        if (c == '{') {
            ++At;
            Blanks();
            if (At < Text.size() && Text[At] == '}') return ++At, 1;
            for (;;) {
                Blanks();
                std::string key;
                if (!String(&key)) return 0;
                Blanks();
                if (At >= Text.size() || Text[At++] != ':') return 0;
                std::string name = key.substr(1, key.size() - 2);
                if (!Value(path.empty() ? name : path + "." + name)) return 0;
                Blanks();
                if (At < Text.size() && Text[At] == ',') {
                    ++At;
                    continue;
                }
                return At < Text.size() && Text[At++] == '}';
            }
        }
        if (c == '[') {
            ++At;
            Blanks();
            if (At < Text.size() && Text[At] == ']') {
                Fields.emplace_back(path, "[]");
                return ++At, 1;
            }
            for (int32_t index = 0;; ++index) {
                if (!Value(path + "[" + std::to_string(index) + "]")) return 0;
                Blanks();
                if (At < Text.size() && Text[At] == ',') {
                    ++At;
                    continue;
                }
                return At < Text.size() && Text[At++] == ']';
            }
        }
        std::string value;
        if (c == '"') {
            if (!String(&value)) return 0;
        } else {
            std::size_t start = At;
            while (At < Text.size() && Text[At] != ',' && Text[At] != '}' && Text[At] != ']' &&
                   Text[At] != '\n' && Text[At] != ' ')
                ++At;
            value = Text.substr(start, At - start);
            if (value.empty()) return 0;
        }
        Fields.emplace_back(path, value);
        return 1;
    }
};

int32_t FlattenJson(const std::string& text,
                    std::vector<std::pair<std::string, std::string>>* out) {
    Flattener f{text, 0, {}};
    if (!f.Value("")) return 0;
    f.Blanks();
    if (f.At != text.size()) return 0;
    *out = std::move(f.Fields);
    return 1;
}

// A run-length coded grid back into its cells; 0 when it is not one.
int32_t DecodeGrid(const std::string& quoted, std::vector<uint8_t>* cells) {
    std::istringstream runs(quoted.substr(1, quoted.size() - 2));
    std::string run;
    while (runs >> run) {
        std::size_t star = run.find('*');
        if (star == std::string::npos) return 0;
        int32_t code = -1;
        int64_t count = 0;
        auto [e1, c1] = std::from_chars(run.data(), run.data() + star, code);
        auto [e2, c2] = std::from_chars(run.data() + star + 1, run.data() + run.size(), count);
        if (c1 != std::errc() || c2 != std::errc() || e1 != run.data() + star ||
            e2 != run.data() + run.size() || code < 0 || code > 255 || count < 1 ||
            static_cast<int64_t>(cells->size()) + count > PlayfieldCells)
            return 0;
        cells->insert(cells->end(), static_cast<std::size_t>(count), static_cast<uint8_t>(code));
    }
    return static_cast<int32_t>(cells->size()) == PlayfieldCells;
}

std::string DescribeGrid(const std::string& expected, const std::string& actual) {
    std::vector<uint8_t> a, b;
    if (!DecodeGrid(expected, &a) || !DecodeGrid(actual, &b))
        return "Grid: differs (and one of them is not a whole grid)\n";
    int32_t count = 0, first = -1;
    int32_t left = PlayfieldWidth, right = -1, top = PlayfieldHeight, bottom = -1;
    for (int32_t i = 0; i < PlayfieldCells; ++i) {
        if (a[i] == b[i]) continue;
        if (first < 0) first = i;
        ++count;
        int32_t x = i % PlayfieldWidth, y = i / PlayfieldWidth;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    char text[256];
    std::snprintf(text, sizeof text,
                  "Grid: %d cells differ, within x %d..%d, y %d..%d; the first at (%d, %d): "
                  "expected %d, got %d\n",
                  count, left, right, top, bottom, first % PlayfieldWidth, first / PlayfieldWidth,
                  a[first], b[first]);
    return text;
}

int32_t CompareDumps(const std::string& expectedText, const std::string& actualText,
                     std::string* report) {
    std::vector<std::pair<std::string, std::string>> expected, actual;
    if (!FlattenJson(expectedText, &expected) || !FlattenJson(actualText, &actual)) return -1;
    std::map<std::string, std::string> actualByPath(actual.begin(), actual.end());
    std::map<std::string, std::string> expectedByPath(expected.begin(), expected.end());
    int32_t differences = 0;
    auto note = [&](const std::string& line) {
        if (++differences <= MaxReportedDifferences) *report += line;
    };
    for (const auto& [path, value] : expected) {
        auto it = actualByPath.find(path);
        if (it == actualByPath.end())
            note(path + ": expected " + value + ", missing\n");
        else if (it->second != value)
            note(path == "Grid" ? DescribeGrid(value, it->second)
                                : path + ": expected " + value + ", got " + it->second + "\n");
    }
    for (const auto& [path, value] : actual)
        if (!expectedByPath.count(path)) note(path + ": not expected, got " + value + "\n");
    if (differences > MaxReportedDifferences)
        *report += "... and " + std::to_string(differences - MaxReportedDifferences) + " more\n";
    if (differences) *report += std::to_string(differences) + " fields differ\n";
    return differences == 0;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

int32_t CompareTraces(const std::string& expectedText, const std::string& actualText,
                      std::string* report) {
    std::istringstream expected(expectedText), actual(actualText);
    std::string magicA, magicB, namesA, namesB;
    std::getline(expected, magicA);
    std::getline(actual, magicB);
    std::getline(expected, namesA);
    std::getline(actual, namesB);
    if (magicA != magicB || namesA != namesB) {
        *report += "the traces are of different kinds\n";
        return 0;
    }
    std::vector<std::string> names = Words(namesA);
    std::string a, b;
    for (;;) {
        bool moreA = static_cast<bool>(std::getline(expected, a));
        bool moreB = static_cast<bool>(std::getline(actual, b));
        if (!moreA && !moreB) return 1;
        if (!moreA || !moreB) {
            std::string last = Words(moreA ? a : b).empty() ? "?" : Words(moreA ? a : b)[0];
            *report += std::string(moreA ? "the actual" : "the expected") +
                       " trace ends before frame " + last + "\n";
            return 0;
        }
        if (a == b) continue;
        std::vector<std::string> wa = Words(a), wb = Words(b);
        *report += "first frame at which the states differ: " + (wa.empty() ? "?" : wa[0]) + "\n";
        for (std::size_t i = 1; i < names.size(); ++i) {
            std::string va = i < wa.size() ? wa[i] : "-", vb = i < wb.size() ? wb[i] : "-";
            if (va != vb) *report += "  " + names[i] + ": expected " + va + ", got " + vb + "\n";
        }
        return 0;
    }
}

} // namespace

int32_t CompareStateFiles(const std::string& expectedPath, const std::string& actualPath,
                          std::string* report) {
    std::string expected, actual;
    if (!ReadFile(expectedPath, &expected)) {
        *report = "cannot read '" + expectedPath + "'\n";
        return -1;
    }
    if (!ReadFile(actualPath, &actual)) {
        *report = "cannot read '" + actualPath + "'\n";
        return -1;
    }
    if (expected.rfind("QUORVANEL-TRACE", 0) == 0 && actual.rfind("QUORVANEL-TRACE", 0) == 0)
        return CompareTraces(expected, actual, report);
    int32_t result = CompareDumps(expected, actual, report);
    if (result < 0)
        *report = "'" + expectedPath + "' and '" + actualPath +
                  "' are not both state dumps or both traces\n";
    return result;
}
