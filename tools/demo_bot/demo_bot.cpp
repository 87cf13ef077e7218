// quorvanel-demo-bot: plays whole games in the simulator and records them as demos, for the
// suite in tests/demos. It plays by trying: before each move it forks the process, plays the
// candidate moves ahead in the children (the game is deterministic, so a child sees exactly
// what the parent would) and then makes the best move that claims ground without losing a
// life. Each scenario fixes the settings, the seed of its choices and what the game must go
// through, so the suite can be made again the same way. Linux only; not part of the game.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "game/game_record.h"
#include "movers/player.h"
#include "playfield/playfield.h"
#include "shell/demo.h"
#include "shell/headless/headless.h"
#include "shell/keys.h"
#include "shell/platform.h"
#include "tools/sim/sim.h"

namespace {

struct Scenario {
    const char* Name;
    const char* Settings;
    uint32_t Time = 0;
    uint32_t Seed = 0;
    int32_t Levels = 1;         // play well until this level is reached, then let the game go
    int32_t UseReversals = 0;   // moves may fire reversals
    int32_t Split = 0;          // one claim must cut the balls apart
    int32_t OptionsAtLevel = 0; // the Options box changes settings at this level
    int32_t Interruptions = 0;  // F5, a minimised window and an abandoned first game
    int32_t LoseEarly = 0;      // throw the lives away: a game over without a place in the table
    int32_t ModestTable = 0;    // the stored table holds 5,000 down to 500, not the built-in one
    int32_t StopAtTarget = 0;   // end the recording in play at the last level, not at the title
    const char* PlayerName = "";
};

// Together the scenarios go through levels 1 to 7, lives lost, games over into the table and
// below it, reversals, enemy re-spawns, every speed slow and fast, the three bonus-life rules,
// ring and random placement, claims that split the balls, the Options and name boxes, F5, a
// minimised window and Escape.
const Scenario Scenarios[] = {
    {.Name = "ring-five-levels",
     .Settings = "RandomGame=0,BonusLife=0,RespawnFlag=1,RespawnTime=15",
     .Time = 1000,
     .Seed = 11,
     .Levels = 5,
     .PlayerName = "Ring Runner"},
    {.Name = "random-fast-bonus-points",
     .Settings = "RandomGame=1,PlayerSpeed=1,BallSpeed=1,EnemySpeed=1,BonusLife=1,RespawnTime=30",
     .Time = 2000,
     .Seed = 22,
     .Levels = 4,
     .UseReversals = 1,
     .ModestTable = 1,
     .PlayerName = "Quick Hands"},
    {.Name = "reversals-never-bonus",
     .Settings = "RandomGame=0,BonusLife=2,RespawnTime=45,BallSpeed=1",
     .Time = 3000,
     .Seed = 33,
     .Levels = 3,
     .UseReversals = 1,
     .ModestTable = 1,
     .PlayerName = "Turnabout"},
    {.Name = "split-the-balls",
     .Settings = "RandomGame=0,BonusLife=0,RespawnFlag=0",
     .Time = 4000,
     .Seed = 44,
     .Levels = 2,
     .Split = 1,
     .ModestTable = 1,
     .PlayerName = "Splitter"},
    {.Name = "options-mid-game",
     .Settings = "RandomGame=1,BonusLife=1,RespawnTime=60,Sounds=1",
     .Time = 5000,
     .Seed = 55,
     .Levels = 3,
     .OptionsAtLevel = 2,
     .ModestTable = 1,
     .PlayerName = "Tinkerer"},
    {.Name = "interrupted",
     .Settings = "RandomGame=0,EnemySpeed=1,RespawnTime=15,Sounds=1",
     .Time = 6000,
     .Seed = 66,
     .Levels = 2,
     .UseReversals = 1,
     .Interruptions = 1,
     .ModestTable = 1,
     .PlayerName = "Stop Start"},
    {.Name = "lives-thrown-away",
     .Settings = "RandomGame=1,PlayerSpeed=1,RespawnTime=15",
     .Time = 7000,
     .Seed = 77,
     .LoseEarly = 1,
     .PlayerName = "Nobody"},
    {.Name = "enemy-swarm-slow",
     .Settings = "RandomGame=0,PlayerSpeed=0,EnemySpeed=0,BallSpeed=0,RespawnTime=15",
     .Time = 8000,
     .Seed = 88,
     .Levels = 3,
     .ModestTable = 1,
     .StopAtTarget = 1,
     .PlayerName = "Patient"},
    {.Name = "player-fast-random",
     .Settings = "RandomGame=1,PlayerSpeed=1,BallSpeed=0,EnemySpeed=1,BonusLife=2",
     .Time = 9000,
     .Seed = 99,
     .Levels = 4,
     .UseReversals = 1,
     .PlayerName = "Zigzag"},
    {.Name = "long-seven-levels",
     .Settings = "RandomGame=0,PlayerSpeed=1,BonusLife=1,RespawnTime=30",
     .Time = 10000,
     .Seed = 111,
     .Levels = 7,
     .UseReversals = 1,
     .StopAtTarget = 1,
     .PlayerName = "Marathon"},
};

struct Key {
    int32_t At; // frames from the start of the move
    int32_t Vk;
    int32_t Down;
};

struct Move {
    std::vector<Key> Keys;
    int32_t Length = 0; // frames to play it for at most
};

struct Outcome {
    int32_t Lost = 0;
    int32_t Claimed = 0;
    int32_t Gain = 0; // percent
    int32_t Frames = 0;
    int32_t Regions = 0; // open regions holding balls after the move
    int32_t LevelWon = 0;
};

std::mt19937 Rng;
char LastFailure[160] = ""; // why the last search for a move found none

int32_t Random(int32_t low, int32_t high) {
    return std::uniform_int_distribution<int32_t>(low, high)(Rng);
}

void Frame() {
    RunSimFrame();
}

void Tap(int32_t vk) {
    HandleKeyDown(vk);
    Frame();
    HandleKeyUp(vk);
}

// Open regions of the playfield that hold a ball in play, by flood fill.
int32_t BallRegions() {
    std::vector<uint8_t> seen(PlayfieldCells, 0);
    std::vector<int32_t> stack;
    int32_t regions = 0;
    for (int32_t b = 0; b < Game.BallCount && b < MaxBallsInPlay; ++b) {
        int32_t start = Game.Balls[b].Y * PlayfieldWidth + Game.Balls[b].X;
        if (start < 0 || start >= PlayfieldCells || seen[start]) continue;
        ++regions;
        stack.push_back(start);
        seen[start] = 1;
        while (!stack.empty()) {
            int32_t i = stack.back();
            stack.pop_back();
            int32_t x = i % PlayfieldWidth, y = i / PlayfieldWidth;
            const int32_t next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[0] >= PlayfieldWidth || n[1] < 0 || n[1] >= PlayfieldHeight)
                    continue;
                int32_t j = n[1] * PlayfieldWidth + n[0];
                uint8_t code = Playfield[j];
                if (seen[j] || (code != CellOpen && (code < CellBallFirst || code > CellBallLast)))
                    continue;
                seen[j] = 1;
                stack.push_back(j);
            }
        }
    }
    return regions;
}

// Plays a move for real; returns what came of it.
Outcome Play(const Move& move) {
    Outcome out;
    int32_t lives = Game.Lives, level = Game.Level, percent = Game.PercentComplete;
    int32_t trailSeen = 0;
    std::vector<int32_t> held;
    for (int32_t t = 0; t < move.Length; ++t) {
        for (const Key& k : move.Keys)
            if (k.At == t) {
                if (k.Down) {
                    HandleKeyDown(k.Vk);
                    held.push_back(k.Vk);
                } else {
                    HandleKeyUp(k.Vk);
                    std::erase(held, k.Vk);
                }
            }
        Frame();
        out.Frames = t + 1;
        if (Game.GameState != StatePlay) break;
        trailSeen |= Game.TrailActive;
        if (trailSeen && !Game.TrailActive && Game.PlayerDir == 0) {
            out.Claimed = 1;
            break;
        }
    }
    for (int32_t vk : held) HandleKeyUp(vk);
    // A few frames more: a move that leaves the player to be caught at once is no good.
    for (int32_t t = 0; t < 12 && Game.GameState == StatePlay; ++t) Frame();
    out.Lost =
        Game.Lives < lives || Game.GameState == StateLifeLost || Game.GameState == StateGameOver;
    out.LevelWon = Game.Level > level || Game.GameState == StateLevelComplete ||
                   Game.GameState == StateTallyShown;
    out.Gain = out.LevelWon ? 100 - percent : Game.PercentComplete - percent;
    out.Regions = BallRegions();
    return out;
}

// Plays a move in a child process and reports what came of it; the game here is untouched.
Outcome TryMove(const Move& move) {
    int fds[2];
    Outcome out;
    out.Lost = 1;
    if (pipe(fds) != 0) return out;
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        Demos.RecordFile = nullptr; // the parent's demo: not the child's to write
        Outcome result = Play(move);
        ssize_t written = write(fds[1], &result, sizeof result);
        _exit(written == sizeof result ? 0 : 1);
    }
    close(fds[1]);
    if (child > 0 && read(fds[0], &out, sizeof out) != sizeof out) out.Lost = 1;
    close(fds[0]);
    if (child > 0) waitpid(child, nullptr, 0);
    return out;
}

int32_t Opposite(int32_t vk) {
    switch (vk) {
    case VkLeft: return VkRight;
    case VkRight: return VkLeft;
    case VkUp: return VkDown;
    default: return VkUp;
    }
}

// An excursion: perhaps a wait and a stretch along the wall, then out into the open, across,
// and back (or on to the far wall). Each leg is a key held for two frames at its start.
Move RandomMove(const Scenario& s) {
    const int32_t dirs[4] = {VkLeft, VkRight, VkUp, VkDown};
    Move m;
    int32_t t = Random(0, 3) == 0 ? Random(1, 20) : 0;
    int32_t speed = Game.PlayerSpeed ? 2 : 1;
    auto leg = [&](int32_t vk, int32_t cells) {
        m.Keys.push_back({t, vk, 1});
        m.Keys.push_back({t + 2, vk, 0});
        t += (cells + speed - 1) / speed;
    };
    // Along the walls first, round a corner or two, to where there is ground to take.
    for (int32_t n = Random(0, 2) == 0 ? Random(1, 3) : 0; n > 0; --n)
        leg(dirs[Random(0, 3)], Random(5, 300));
    int32_t out = dirs[Random(0, 3)];
    int32_t across = (out == VkUp || out == VkDown) ? dirs[Random(0, 1)] : dirs[Random(2, 3)];
    leg(out, Random(6, 90));
    leg(across, Random(6, 200));
    if (Random(0, 3) != 0) leg(Opposite(out), 300);
    if (s.UseReversals && Game.Reversals > 0 && Random(0, 5) == 0) {
        int32_t at = Random(0, t);
        m.Keys.push_back({at, VkSpace, 1});
        m.Keys.push_back({at + 2, VkSpace, 0});
    }
    m.Length = t + 60;
    return m;
}

// The best of many tried moves: ground claimed for the frames it takes, no life lost; in the
// scenario that wants it, the first move that splits the balls; when throwing lives away,
// any move that loses one.
int32_t MakeMove(const Scenario& s, int32_t* splitDone, int32_t attempts) {
    Move best;
    double bestValue = -1;
    int32_t lost = 0, claimed = 0, won = 0;
    for (int32_t attempt = 0; attempt < attempts; ++attempt) {
        Move m = RandomMove(s);
        Outcome o = TryMove(m);
        lost += o.Lost;
        claimed += o.Claimed;
        won += o.LevelWon;
        double value = -1;
        if (s.LoseEarly) {
            if (o.Lost) value = 1000.0 / o.Frames;
        } else if (!o.Lost && (o.Claimed || o.LevelWon)) {
            value = (o.Gain + 0.5) / o.Frames;
            if (s.Split && !*splitDone && Game.BallCount > 1 && o.Regions > 1 && !o.LevelWon)
                value += 1000;
        }
        if (value > bestValue) {
            bestValue = value;
            best = m;
        }
    }
    if (bestValue < 0) {
        std::snprintf(LastFailure, sizeof LastFailure,
                      "at (%d, %d), of %d moves tried %d lost a life, %d claimed, %d won",
                      static_cast<int>(Game.PlayerX), static_cast<int>(Game.PlayerY),
                      static_cast<int>(attempts), lost, claimed, won);
        return 0;
    }
    Outcome o = Play(best);
    if (o.Regions > 1 && !o.Lost && Game.BallCount > 1 && !*splitDone) {
        *splitDone = 1;
        std::fprintf(stderr, "  level %d: the balls are split into %d regions\n",
                     static_cast<int>(Game.Level), static_cast<int>(o.Regions));
    }
    return 1;
}

void WaitForState(int32_t state, int32_t limit) {
    for (int32_t i = 0; i < limit && Game.GameState != state; ++i) Frame();
}

int32_t RunScenario(const Scenario& s, const std::string& path) {
    SimOptions options;
    std::string error;
    if (!ParseSettingsList(s.Settings, &options.Settings, &error)) {
        std::fprintf(stderr, "%s: %s\n", s.Name, error.c_str());
        return 1;
    }
    options.TimeSeconds = s.Time;
    options.HasName = 1;
    options.Name = s.PlayerName;
    if (!StartSimulation(options, &error)) {
        std::fprintf(stderr, "%s: %s\n", s.Name, error.c_str());
        return 1;
    }
    if (s.ModestTable)
        for (int32_t i = 0; i < HighScoreEntries; ++i)
            Game.HighScoreTable[i].Score = 500 * (HighScoreEntries - i);
    if (!StartDemoRecording(path, 32, CurrentTimeSeconds(), &error)) {
        std::fprintf(stderr, "%s: %s\n", s.Name, error.c_str());
        return 1;
    }
    Rng.seed(s.Seed);
    WaitForState(StateAttract, 200);
    if (s.Interruptions) {
        Tap(VkF5); // the frame rate on the attract screen, and on the next title page
        for (int32_t i = 0; i < 30; ++i) Frame();
        Tap(VkSpace);
        for (int32_t i = 0; i < 300; ++i) Frame();
        // Minimised for four seconds: no frame runs, and the clock jumps on.
        Game.WindowActive = 0;
        NoteDemoWindow(0);
        Demos.FrameClock += 4000;
        Game.WindowActive = 1;
        NoteDemoWindow(1);
        for (int32_t i = 0; i < 100; ++i) Frame();
        Tap(VkEscape); // the first game abandoned: back to the title
        Tap(VkF5);
        WaitForState(StateAttract, 300);
    }
    Tap(VkSpace);

    int32_t splitDone = 0, optionsDone = 0, stuck = 0, movesAtTarget = 0;
    for (int32_t guard = 0; guard < 200000 && Game.GameState != StateAttract; ++guard) {
        if (Game.GameState == StateTallyShown) {
            std::fprintf(stderr, "  level won, score %d\n", static_cast<int>(Game.Score));
            Tap(VkSpace);
            continue;
        }
        if (Game.GameState != StatePlay) {
            Frame();
            continue;
        }
        if (s.OptionsAtLevel && !optionsDone && Game.Level == s.OptionsAtLevel) {
            optionsDone = 1;
            Headless.OptionsDialogChoices = {{&Game.PlayerSpeed, 1 - Game.PlayerSpeed},
                                             {&Game.BallSpeed, 1 - Game.BallSpeed},
                                             {&Game.RespawnTime, 45}};
            Tap(VkF11);
        }
        bool playing = !s.LoseEarly && (Game.Level < s.Levels || s.StopAtTarget);
        if (s.StopAtTarget && Game.Level >= s.Levels && movesAtTarget >= 4) break;
        bool ready = Game.OnWall && !Game.TrailActive && Game.PlayerDir == 0;
        if ((playing || s.LoseEarly) && ready) {
            if (MakeMove(s, &splitDone, stuck > 2 ? 200 : 48)) {
                stuck = 0;
                movesAtTarget += Game.Level >= s.Levels;
                continue;
            }
            // Nothing safe now: wait a little where we are.
            if (++stuck > 40 && playing) {
                std::fprintf(stderr, "%s: no move at level %d for a long time: %s\n", s.Name,
                             static_cast<int>(Game.Level), LastFailure);
                return 1;
            }
            for (int32_t i = 0; i < 6 && Game.GameState == StatePlay; ++i) Frame();
            continue;
        }
        Frame(); // the level is done with: the enemies end the game
    }
    for (int32_t i = 0; i < 40; ++i) Frame();
    FinishDemoRecording();
    std::fprintf(stderr, "%s: %d frames, level %d, score %d, table entry 1: %s %d%s\n", s.Name,
                 static_cast<int>(Demos.Frame), static_cast<int>(Game.Level),
                 static_cast<int>(Game.Score), Game.HighScoreTable[0].Name,
                 static_cast<int>(Game.HighScoreTable[0].Score),
                 s.Split && !splitDone ? " (NO SPLIT)" : "");
    bool ended = s.StopAtTarget ? Game.Level >= s.Levels : Game.GameState == StateAttract;
    return ended && !(s.Split && !splitDone) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: quorvanel-demo-bot SCENARIO|all FILE|FOLDER\nScenarios:");
        for (const Scenario& s : Scenarios) std::fprintf(stderr, " %s", s.Name);
        std::fprintf(stderr, "\n");
        return 2;
    }
    std::string which = argv[1];
    int32_t failures = 0, found = 0;
    for (const Scenario& s : Scenarios) {
        if (which != "all" && which != s.Name) continue;
        found = 1;
        std::string path =
            which == "all" ? std::string(argv[2]) + "/" + s.Name + ".qdemo" : argv[2];
        failures += RunScenario(s, path);
    }
    if (!found) std::fprintf(stderr, "no scenario '%s'\n", which.c_str());
    return found && failures == 0 ? 0 : 1;
}
