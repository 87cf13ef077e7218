// The end-of-run dump of the game as JSON. Free of the PNG writer, so that every build that
// replays a game (the Windows simulator, the web page) can compare its state with the others'.
#include <cstdio>
#include <string>

#include "display/draw.h"
#include "game/game_record.h"
#include "tools/sim/sim.h"

std::string JsonEscape(const char* text) {
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        unsigned char c = *p;
        if (c == '"')
            out += "\\\"";
        else if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c < 0x20 || c >= 0x7F) {
            // Names are single bytes in the player's code page; reading them as Latin-1
            // keeps the output valid JSON whatever they hold.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

namespace {

struct JsonWriter {
    std::string Text = "{\n";
    int32_t First = 1;

    void Key(const char* name) {
        if (!First) Text += ",\n";
        First = 0;
        Text += "  \"";
        Text += name;
        Text += "\": ";
    }
    void Number(const char* name, int64_t value) {
        Key(name);
        Text += std::to_string(value);
    }
    void String(const char* name, const char* value) {
        Key(name);
        Text += "\"" + JsonEscape(value) + "\"";
    }
};

template <typename Mover> std::string MoverList(const Mover* movers, int32_t count) {
    std::string text = "[";
    for (int32_t i = 0; i < count; ++i) {
        char item[96];
        std::snprintf(item, sizeof item, "%s{\"X\": %d, \"Y\": %d, \"Dx\": %d, \"Dy\": %d}",
                      i ? ", " : "", static_cast<int>(movers[i].X), static_cast<int>(movers[i].Y),
                      static_cast<int>(movers[i].Dx), static_cast<int>(movers[i].Dy));
        text += item;
    }
    return text + "]";
}

} // namespace

std::string GameStateJson() {
    JsonWriter j;
    const GameRecord& g = Game;
    j.Number("Frame", Sim.Frame);
    const struct {
        const char* Name;
        int64_t Value;
    } scalars[] = {
        {"GameState", g.GameState},
        {"ResumeState", g.ResumeState},
        {"PauseFrames", g.PauseFrames},
        {"Lives", g.Lives},
        {"Level", g.Level},
        {"Reversals", g.Reversals},
        {"ReversalTimer", g.ReversalTimer},
        {"Score", g.Score},
        {"NextBonusScore", g.NextBonusScore},
        {"PercentComplete", g.PercentComplete},
        {"BallCount", g.BallCount},
        {"EnemyCount", g.EnemyCount},
        {"EnemySpawnTimer", g.EnemySpawnTimer},
        {"EnemySpawnSeconds", g.EnemySpawnSeconds},
        {"PlayerHit", g.PlayerHit},
        {"PlayerX", g.PlayerX},
        {"PlayerY", g.PlayerY},
        {"PlayerDir", g.PlayerDir},
        {"OnWall", g.OnWall},
        {"TrailActive", g.TrailActive},
        {"TrailStartSet", g.TrailStartSet},
        {"TrailStartX", g.TrailStartX},
        {"TrailStartY", g.TrailStartY},
        {"TrailBackDir", g.TrailBackDir},
        {"LastKey", g.LastKey},
        {"HeldKeys", g.HeldKeys},
        {"TitleScrollY", g.TitleScrollY},
        {"TitleDrawn", g.TitleDrawn},
        {"ColoursSampled", g.ColoursSampled},
        {"ShowFps", g.ShowFps},
        {"WindowActive", g.WindowActive},
        {"LastFrameTime", g.LastFrameTime},
        {"FrameCount", g.FrameCount},
        {"FpsStartTime", g.FpsStartTime},
        {"FramesPerSecond", g.FramesPerSecond},
        {"PlayerSpeed", g.PlayerSpeed},
        {"EnemySpeed", g.EnemySpeed},
        {"BallSpeed", g.BallSpeed},
        {"BonusLife", g.BonusLife},
        {"Sounds", g.Sounds},
        {"RandomGame", g.RandomGame},
        {"RespawnFlag", g.RespawnFlag},
        {"RespawnTime", g.RespawnTime},
    };
    for (const auto& s : scalars) j.Number(s.Name, s.Value);
    j.String("PlayerName", g.PlayerName);

    j.Key("Balls");
    j.Text += MoverList(g.Balls, BallTableSize);
    int32_t enemies = g.EnemyCount < 0 ? 0 : g.EnemyCount;
    if (enemies > EnemyTableSize) enemies = EnemyTableSize;
    j.Key("Enemies");
    j.Text += MoverList(g.Enemies, enemies);

    j.Key("HighScoreTable");
    j.Text += "[";
    for (int32_t i = 0; i < HighScoreEntries; ++i) {
        // A name fills its slot only when the terminating zero is there; never read past it.
        char name[HighScoreNameSize + 1] = {};
        for (int32_t k = 0; k < HighScoreNameSize && g.HighScoreTable[i].Name[k]; ++k)
            name[k] = g.HighScoreTable[i].Name[k];
        j.Text += (i ? ", " : "");
        j.Text += "{\"Name\": \"" + JsonEscape(name) +
                  "\", \"Score\": " + std::to_string(g.HighScoreTable[i].Score) + "}";
    }
    j.Text += "]";

    j.Key("ColourTable");
    j.Text += "[";
    for (int32_t i = 0; i < 16; ++i) j.Text += (i ? ", " : "") + std::to_string(ColourTable[i]);
    j.Text += "]";

    j.Key("SoundsPlayed");
    j.Text += "[";
    for (std::size_t i = 0; i < Sim.Sounds.size(); ++i)
        j.Text += (i ? ", [" : "[") + std::to_string(Sim.Sounds[i].Frame) + ", " +
                  std::to_string(Sim.Sounds[i].ResourceId) + "]";
    j.Text += "]\n}\n";
    return j.Text;
}
