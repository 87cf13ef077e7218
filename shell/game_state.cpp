#include "shell/game_state.h"

#include <bit>
#include <cstdio>
#include <cstring>

#include "display/draw.h"
#include "game/game_record.h"
#include "playfield/claim.h"
#include "playfield/playfield.h"
#include "shell/demo.h"

namespace {

struct ScalarField {
    const char* Name;
    int64_t (*Read)();
};

#define FIELD(name, expression)                                                                    \
    {                                                                                              \
        name, [] { return static_cast<int64_t>(expression); }                                      \
    }

// Every scalar of the state, in the order of the dump, the hash and the trace.
const ScalarField Scalars[] = {
    FIELD("GameState", Game.GameState),
    FIELD("ResumeState", Game.ResumeState),
    FIELD("PauseFrames", Game.PauseFrames),
    FIELD("Lives", Game.Lives),
    FIELD("Level", Game.Level),
    FIELD("Reversals", Game.Reversals),
    FIELD("ReversalTimer", Game.ReversalTimer),
    FIELD("Score", Game.Score),
    FIELD("NextBonusScore", Game.NextBonusScore),
    FIELD("PercentComplete", Game.PercentComplete),
    FIELD("BallCount", Game.BallCount),
    FIELD("EnemyCount", Game.EnemyCount),
    FIELD("EnemySpawnTimer", Game.EnemySpawnTimer),
    FIELD("EnemySpawnSeconds", Game.EnemySpawnSeconds),
    FIELD("PlayerHit", Game.PlayerHit),
    FIELD("PlayerX", Game.PlayerX),
    FIELD("PlayerY", Game.PlayerY),
    FIELD("PlayerDir", Game.PlayerDir),
    FIELD("OnWall", Game.OnWall),
    FIELD("TrailActive", Game.TrailActive),
    FIELD("TrailStartSet", Game.TrailStartSet),
    FIELD("TrailStartX", Game.TrailStartX),
    FIELD("TrailStartY", Game.TrailStartY),
    FIELD("TrailBackDir", Game.TrailBackDir),
    FIELD("LastKey", Game.LastKey),
    FIELD("HeldKeys", Game.HeldKeys),
    FIELD("TitleScrollY", Game.TitleScrollY),
    FIELD("TitleDrawn", Game.TitleDrawn),
    FIELD("ColoursSampled", Game.ColoursSampled),
    FIELD("ShowFps", Game.ShowFps),
    FIELD("WindowActive", Game.WindowActive),
    FIELD("LastFrameTime", Game.LastFrameTime),
    FIELD("FrameCount", Game.FrameCount),
    FIELD("FpsStartTime", Game.FpsStartTime),
    FIELD("FramesPerSecond", Game.FramesPerSecond),
    FIELD("PlayerSpeed", Game.PlayerSpeed),
    FIELD("EnemySpeed", Game.EnemySpeed),
    FIELD("BallSpeed", Game.BallSpeed),
    FIELD("BonusLife", Game.BonusLife),
    FIELD("Sounds", Game.Sounds),
    FIELD("RandomGame", Game.RandomGame),
    FIELD("RespawnFlag", Game.RespawnFlag),
    FIELD("RespawnTime", Game.RespawnTime),
    FIELD("RandomState", RandomState),
    FIELD("ClaimColour", ClaimColour),
    FIELD("ColourBagRemaining", ColourBagRemaining),
};

#undef FIELD

// FNV-1a taking a 32-bit word at a step, for the small parts of the state.
struct Hasher {
    uint64_t State = 14695981039346656037ull;
    void Add(int64_t v) { State = (State ^ static_cast<uint32_t>(v)) * 1099511628211ull; }
    uint32_t Result() const { return static_cast<uint32_t>(State ^ (State >> 32)); }
    void Text(const char* text, std::size_t room) {
        for (std::size_t i = 0; i < room && text[i]; ++i) Add(static_cast<unsigned char>(text[i]));
        Add(-1);
    }
};

// The grid, 120,000 cells, is hashed eight cells at a time in eight independent lanes, so
// that a check on every frame costs a few microseconds. The cells are taken as
// little-endian words on every build.
uint64_t GridWord(const uint8_t* p) {
    uint64_t word;
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&word, p, 8);
    } else {
        word = 0;
        for (int32_t b = 7; b >= 0; --b) word = (word << 8) | p[b];
    }
    return word;
}

uint32_t HashGrid() {
    if (!Playfield) return 0;
    constexpr uint64_t Multiplier = 0xFF51AFD7ED558CCDull;
    uint64_t lanes[8];
    for (int32_t lane = 0; lane < 8; ++lane) lanes[lane] = 0x9E3779B97F4A7C15ull * (lane + 1);
    for (int32_t i = 0; i < PlayfieldCells; i += 64)
        for (int32_t lane = 0; lane < 8; ++lane)
            lanes[lane] = (lanes[lane] ^ GridWord(Playfield + i + lane * 8)) * Multiplier;
    uint64_t h = 0;
    for (int32_t lane = 0; lane < 8; ++lane) {
        h = (h ^ lanes[lane] ^ (lanes[lane] >> 31)) * Multiplier;
        h ^= h >> 29;
    }
    return static_cast<uint32_t>(h ^ (h >> 32));
}
static_assert(PlayfieldCells % 64 == 0, "the grid hash takes 64 cells a step");

uint32_t HashBalls() {
    Hasher h;
    for (const BallRecord& b : Game.Balls) {
        h.Add(b.X);
        h.Add(b.Y);
        h.Add(b.Dx);
        h.Add(b.Dy);
        h.Add(b.Moved);
        h.Add(b.Colour);
    }
    return h.Result();
}

uint32_t HashEnemies() {
    Hasher h;
    for (const EnemyRecord& e : Game.Enemies) {
        h.Add(e.X);
        h.Add(e.Y);
        h.Add(e.Dx);
        h.Add(e.Dy);
        h.Add(e.Moved);
        for (uint8_t u : e.Under) h.Add(u);
    }
    return h.Result();
}

// The name, the high-score table, the colour tables and the player's cells.
uint32_t HashTables() {
    Hasher h;
    h.Text(Game.PlayerName, PlayerNameSize);
    for (const HighScoreEntry& entry : Game.HighScoreTable) {
        h.Text(entry.Name, HighScoreNameSize);
        h.Add(entry.Score);
    }
    for (uint32_t colour : ColourTable) h.Add(colour);
    for (int32_t c : ColourBag) h.Add(c);
    for (int32_t cell : Game.PlayerCells) h.Add(cell);
    return h.Result();
}

uint32_t HashScalars() {
    Hasher h;
    for (const ScalarField& f : Scalars) h.Add(f.Read());
    return h.Result();
}

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
    void String(const char* name, const std::string& value) {
        Key(name);
        Text += '"';
        Text += JsonEscape(value.c_str());
        Text += '"';
    }
};

// A name fills its slot only when the terminating zero is there; never read past it.
std::string SlotText(const char* slot, std::size_t room) {
    return std::string(slot, strnlen(slot, room));
}

} // namespace

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

std::string GridRunLengths() {
    if (!Playfield) return "";
    std::string text;
    text.reserve(16384);
    char item[24];
    int32_t i = 0;
    while (i < PlayfieldCells) {
        uint8_t code = Playfield[i];
        int32_t run = 1;
        while (i + run < PlayfieldCells && Playfield[i + run] == code) ++run;
        std::snprintf(item, sizeof item, "%s%d*%d", i ? " " : "", code, static_cast<int>(run));
        text += item;
        i += run;
    }
    return text;
}

std::string GameStateJson() {
    JsonWriter j;
    j.Number("Frame", Demos.Frame);
    for (const ScalarField& f : Scalars) j.Number(f.Name, f.Read());
    j.String("PlayerName", SlotText(Game.PlayerName, PlayerNameSize));

    char item[160];
    j.Key("Balls");
    j.Text += "[";
    for (int32_t i = 0; i < BallTableSize; ++i) {
        const BallRecord& b = Game.Balls[i];
        std::snprintf(item, sizeof item, "%s\n    {\"X\": %d, \"Y\": %d, \"Dx\": %d, \"Dy\": %d}",
                      i ? "," : "", static_cast<int>(b.X), static_cast<int>(b.Y),
                      static_cast<int>(b.Dx), static_cast<int>(b.Dy));
        j.Text += item;
    }
    j.Text += "]";
    // Only the enemies on the board; the rest of the table holds leftovers of earlier levels.
    int32_t enemies = Game.EnemyCount < 0 ? 0 : Game.EnemyCount;
    if (enemies > EnemyTableSize) enemies = EnemyTableSize;
    j.Key("Enemies");
    j.Text += "[";
    for (int32_t i = 0; i < enemies; ++i) {
        const EnemyRecord& e = Game.Enemies[i];
        std::snprintf(item, sizeof item,
                      "%s\n    {\"X\": %d, \"Y\": %d, \"Dx\": %d, \"Dy\": %d, \"Under\": [%d, %d, "
                      "%d, %d]}",
                      i ? "," : "", static_cast<int>(e.X), static_cast<int>(e.Y),
                      static_cast<int>(e.Dx), static_cast<int>(e.Dy), e.Under[0], e.Under[1],
                      e.Under[2], e.Under[3]);
        j.Text += item;
    }
    j.Text += "]";

    j.Key("HighScoreTable");
    j.Text += "[";
    for (int32_t i = 0; i < HighScoreEntries; ++i) {
        const HighScoreEntry& entry = Game.HighScoreTable[i];
        j.Text += (i ? ",\n    " : "\n    ");
        j.Text += "{\"Name\": \"" + JsonEscape(SlotText(entry.Name, HighScoreNameSize).c_str()) +
                  "\", \"Score\": " + std::to_string(entry.Score) + "}";
    }
    j.Text += "]";

    j.Key("ColourTable");
    j.Text += "[";
    for (int32_t i = 0; i < 16; ++i) j.Text += (i ? ", " : "") + std::to_string(ColourTable[i]);
    j.Text += "]";
    j.Key("ColourBag");
    j.Text += "[";
    for (int32_t i = 0; i < ColourBagSize; ++i)
        j.Text += (i ? ", " : "") + std::to_string(ColourBag[i]);
    j.Text += "]";
    j.Key("PlayerCells");
    j.Text += "[";
    for (int32_t i = 0; i < 16; ++i)
        j.Text += (i ? ", " : "") + std::to_string(Game.PlayerCells[i]);
    j.Text += "]";

    j.Key("SoundsPlayed");
    j.Text += "[";
    for (std::size_t i = 0; i < Demos.Sounds.size(); ++i)
        j.Text += (i ? ", [" : "[") + std::to_string(Demos.Sounds[i].Frame) + ", " +
                  std::to_string(Demos.Sounds[i].ResourceId) + "]";
    j.Text += "]";
    j.String("Grid", GridRunLengths());
    j.Text += "\n}\n";
    return j.Text;
}

uint32_t GameStateHash() {
    Hasher h;
    h.Add(HashScalars());
    h.Add(HashBalls());
    h.Add(HashEnemies());
    h.Add(HashTables());
    h.Add(HashGrid());
    return h.Result();
}

uint8_t GameStateDigest() {
    uint32_t h = GameStateHash();
    return static_cast<uint8_t>(h ^ (h >> 8) ^ (h >> 16) ^ (h >> 24));
}

std::string TraceHeader() {
    std::string text = "QUORVANEL-TRACE 1\nFrame";
    for (const ScalarField& f : Scalars) {
        text += " ";
        text += f.Name;
    }
    return text + " Balls Enemies Tables Grid\n";
}

std::string TraceLine() {
    std::string text = std::to_string(Demos.Frame);
    for (const ScalarField& f : Scalars) {
        text += ' ';
        text += std::to_string(f.Read());
    }
    char hashes[64];
    std::snprintf(hashes, sizeof hashes, " %08x %08x %08x %08x\n", HashBalls(), HashEnemies(),
                  HashTables(), HashGrid());
    return text + hashes;
}
