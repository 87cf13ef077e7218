// The desktop build's settings file on disk: what is read, what is refused, and what a save
// leaves behind, with two copies of the game saving into one file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "shell/headless/headless.h"
#include "shell/regular_file.h"
#include "shell/settings_file_store.h"
#include "shell/settings_store.h"
#include "tests/support/world.h"

namespace fs = std::filesystem;

namespace {

std::string Slurp(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

void Spill(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::string Entry(const char* kind, int32_t n) {
    return kind + std::to_string(100 + n).substr(1);
}

// What a quitting game writes: its settings, its name and its whole table, each entry
// `score` points below the one above it from 100 down, with (name, score) put in place.
void WriteGame(SettingsFileStore* store, const std::string& name, int32_t score) {
    int32_t ballSpeed = 1;
    WriteSettingsFileValue(store, "BallSpeed", 0, &ballSpeed, 4);
    WriteSettingsFileValue(store, "PlayerName", 1, name.c_str(), name.size() + 1);
    std::vector<std::pair<std::string, int32_t>> table;
    for (int32_t i = 0; i < 10; ++i) table.emplace_back(std::string(1, 'A' + i), 100 - 10 * i);
    if (score) {
        auto at =
            std::find_if(table.begin(), table.end(), [&](auto& e) { return e.second <= score; });
        table.insert(at, {name, score});
        table.pop_back();
    }
    for (int32_t n = 1; n <= 10; ++n) {
        const auto& [who, points] = table[n - 1];
        WriteSettingsFileValue(store, Entry("PlayerName", n).c_str(), 1, who.c_str(),
                               who.size() + 1);
        WriteSettingsFileValue(store, Entry("PlayerScore", n).c_str(), 0, &points, 4);
    }
}

int32_t Number(const SettingsFileStore& store, const char* name) {
    int32_t value = -1;
    uint32_t size = 4;
    return ReadSettingsFileValue(&store, name, &value, &size) == StoreValueRead ? value : -1;
}

struct SettingsStore : ::testing::Test {
    void SetUp() override {
        ResetHeadless();
        Dir = PrivateTempDir("store").string();
        Path = Dir + "/Quorvanel/settings";
        A.Path = B.Path = Path;
    }
    void TearDown() override {
        chmod((Dir + "/Quorvanel").c_str(), 0700); // so that it can be removed
        chmod(Path.c_str(), 0600);
    }
    // One session: open, let `session` read or write, close; the open's result.
    template <typename Session> int32_t Run(SettingsFileStore* store, Session session) {
        int32_t createdNew = 0;
        int32_t open = OpenSettingsFileStore(store, &createdNew);
        session(store, createdNew);
        CloseSettingsFileStore(store);
        return open;
    }
    // The table in the file: "name score" lines, best first.
    std::string TableInFile() {
        SettingsFileStore reader;
        reader.Path = Path;
        std::string table;
        Run(&reader, [&](SettingsFileStore* s, int32_t) {
            for (int32_t n = 1; n <= 10; ++n) {
                char name[64] = "";
                uint32_t size = sizeof name;
                ReadSettingsFileValue(s, Entry("PlayerName", n).c_str(), name, &size);
                table += std::string(name) + " " +
                         std::to_string(Number(*s, Entry("PlayerScore", n).c_str())) + "\n";
            }
        });
        return table;
    }
    std::string Dir, Path;
    SettingsFileStore A, B; // two copies of the game
};

TEST_F(SettingsStore, TwoGamesQuittingInEitherOrderKeepBothScores) {
    for (int32_t aFirst : {1, 0}) {
        fs::remove_all(Dir + "/Quorvanel");
        A = B = SettingsFileStore{};
        A.Path = B.Path = Path;
        // The first run finds no file and writes the built-in values.
        EXPECT_EQ(Run(&A,
                      [&](SettingsFileStore* s, int32_t createdNew) {
                          EXPECT_EQ(createdNew, 1);
                          WriteGame(s, "", 0);
                      }),
                  1);
        // Both copies load that table; each gets a score and saves at its quit.
        Run(&A, [](SettingsFileStore*, int32_t) {});
        Run(&B, [](SettingsFileStore*, int32_t) {});
        auto quitA = [&] {
            Run(&A, [](SettingsFileStore* s, int32_t) { WriteGame(s, "Ann", 75); });
        };
        auto quitB = [&] {
            Run(&B, [](SettingsFileStore* s, int32_t) { WriteGame(s, "Bob", 55); });
        };
        aFirst ? (quitA(), quitB()) : (quitB(), quitA());
        const std::string both =
            "A 100\nB 90\nC 80\nAnn 75\nD 70\nE 60\nBob 55\nF 50\nG 40\nH 30\n";
        EXPECT_EQ(TableInFile(), both) << aFirst;
        // The first to quit saves again (the Options box, another high score): nothing twice,
        // nothing lost.
        Run(aFirst ? &A : &B, [&](SettingsFileStore* s, int32_t) {
            aFirst ? WriteGame(s, "Ann", 75) : WriteGame(s, "Bob", 55);
        });
        EXPECT_EQ(TableInFile(), both) << aFirst;
        EXPECT_FALSE(fs::exists(Path + ".new"));
    }
    EXPECT_TRUE(Headless.DebugLines.empty());
}

TEST_F(SettingsStore, AHugeCommentAndALongLineBeforeTheValuesAreKeptAndTheValuesRead) {
    fs::create_directories(Dir + "/Quorvanel");
    std::string head;
    while (head.size() < 2'000'000) head += "# kept by hand, and kept by the game\n";
    head += std::string(1 << 20, '~') + "\n";
    Spill(Path, head + "BonusLife=b:02000000\nPlayerName01=s:Keeper\nPlayerScore01=b:40E20100\n");
    EXPECT_EQ(Run(&A,
                  [](SettingsFileStore* s, int32_t createdNew) {
                      EXPECT_EQ(createdNew, 0);
                      EXPECT_EQ(Number(*s, "BonusLife"), 2);
                      EXPECT_EQ(Number(*s, "PlayerScore01"), 123456);
                  }),
              1);
    ASSERT_EQ(Headless.DebugLines.size(), 1u); // the long line
    EXPECT_NE(Headless.DebugLines[0].find("line too long"), std::string::npos);
    // The quit: the game writes its values back, the table as it read it.
    Run(&A, [](SettingsFileStore* s, int32_t) {
        int32_t bonus = 2, score = 123456;
        WriteSettingsFileValue(s, "BonusLife", 0, &bonus, 4);
        WriteSettingsFileValue(s, "PlayerName01", 1, "Keeper", 7);
        WriteSettingsFileValue(s, "PlayerScore01", 0, &score, 4);
    });
    const std::string after = Slurp(Path);
    EXPECT_EQ(after.substr(0, head.size()), head);
    EXPECT_EQ(after.substr(head.size()),
              "BonusLife=b:02000000\nPlayerName01=s:Keeper\nPlayerScore01=b:40E20100\n");
    EXPECT_EQ(Headless.DebugLines.size(), 1u); // said once a run, though read again
}

TEST_F(SettingsStore, AFileThatCannotBeUsedIsLeftAsItIsAndSaidOnce) {
    fs::create_directories(Dir + "/Quorvanel");
    std::string big(20 << 20, '#');
    big += "\nBallSpeed=b:01000000\n";
    struct Case {
        const char* What;
        std::function<void()> Make;
        const char* Said;
    };
    const Case cases[] = {
        {"20 MiB", [&] { Spill(Path, big); }, "is larger than 16 MiB"},
        {"FIFO", [&] { mkfifo(Path.c_str(), 0600); }, "is a FIFO, not a regular file"},
        {"folder", [&] { fs::create_directory(Path); }, "is a folder, not a regular file"},
    };
    for (const Case& c : cases) {
        ResetHeadless();
        fs::remove_all(Path);
        c.Make();
        A = SettingsFileStore{};
        A.Path = Path;
        // Loading finds nothing to read; the quit's save writes nothing; neither says more.
        for (int32_t session = 0; session < 3; ++session)
            EXPECT_EQ(Run(&A, [](SettingsFileStore* s, int32_t) { WriteGame(s, "Ann", 75); }), 0)
                << c.What;
        ASSERT_EQ(Headless.DebugLines.size(), 1u) << c.What;
        EXPECT_EQ(Headless.DebugLines[0], "OpenSettingsStore: " + Path + " " + c.Said +
                                              "; playing with the built-in settings and the file "
                                              "is left as it is.\n");
    }
    EXPECT_TRUE(fs::is_directory(Path));
    fs::remove(Path);
    mkfifo(Path.c_str(), 0600);
    EXPECT_TRUE(fs::is_fifo(Path));

    // A file that turns into one while a save is under way is not written over either.
    ResetHeadless();
    fs::remove(Path);
    A = SettingsFileStore{};
    A.Path = Path;
    Run(&A, [](SettingsFileStore* s, int32_t) { WriteGame(s, "", 0); });
    Run(&A, [&](SettingsFileStore* s, int32_t) {
        WriteGame(s, "Ann", 75);
        Spill(Path, big);
    });
    EXPECT_EQ(Slurp(Path), big);
    ASSERT_EQ(Headless.DebugLines.size(), 1u);
    EXPECT_EQ(Headless.DebugLines[0].rfind("CloseSettingsStore: ", 0), 0u);
}

TEST_F(SettingsStore, ALinkIsFollowedAndTheFileKeepsItsMode) {
    fs::create_directories(Dir + "/Quorvanel");
    fs::create_directories(Dir + "/dotfiles");
    const std::string target = Dir + "/dotfiles/quorvanel-settings";
    Spill(target, "# mine\nBallSpeed=b:00000000\n");
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    // A chain of two links, the second relative to its folder.
    fs::create_symlink("../dotfiles/quorvanel-settings", Dir + "/Quorvanel/hop");
    fs::create_symlink(Dir + "/Quorvanel/hop", Path);
    EXPECT_EQ(SettingsFileTarget(Path), Dir + "/Quorvanel/../dotfiles/quorvanel-settings");
    Run(&A, [](SettingsFileStore* s, int32_t) {
        int32_t fast = 1;
        EXPECT_EQ(Number(*s, "BallSpeed"), 0);
        WriteSettingsFileValue(s, "BallSpeed", 0, &fast, 4);
    });
    EXPECT_TRUE(fs::is_symlink(Path));
    EXPECT_TRUE(fs::is_symlink(Dir + "/Quorvanel/hop"));
    EXPECT_EQ(Slurp(target), "# mine\nBallSpeed=b:01000000\n");
    EXPECT_EQ(ModeOf(target), 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir + "/dotfiles"), fs::directory_iterator()),
              1);
    EXPECT_TRUE(Headless.DebugLines.empty());
    // A link whose target is yet to be made: the first save makes it there.
    fs::remove(target);
    A = SettingsFileStore{};
    A.Path = Path;
    Run(&A, [](SettingsFileStore* s, int32_t createdNew) {
        EXPECT_EQ(createdNew, 1);
        WriteGame(s, "", 0);
    });
    EXPECT_TRUE(fs::is_symlink(Path));
    EXPECT_TRUE(fs::is_regular_file(target));
}

// Read-only is what the mode bits say, so these hold when the tests run as root too.
TEST_F(SettingsStore, AReadOnlyFileOrFolderIsReadButNeverReplaced) {
    for (int32_t folder : {0, 1}) {
        ResetHeadless();
        chmod((Dir + "/Quorvanel").c_str(), 0700);
        fs::remove_all(Dir + "/Quorvanel");
        fs::create_directories(Dir + "/Quorvanel");
        const std::string text = "BallSpeed=b:01000000\n";
        Spill(Path, text);
        ASSERT_EQ(chmod(folder ? (Dir + "/Quorvanel").c_str() : Path.c_str(), 0555), 0);
        A = SettingsFileStore{};
        A.Path = Path;
        for (int32_t session = 0; session < 2; ++session)
            EXPECT_EQ(Run(&A,
                          [](SettingsFileStore* s, int32_t) {
                              EXPECT_EQ(Number(*s, "BallSpeed"), 1);
                              WriteGame(s, "Ann", 75);
                          }),
                      1);
        EXPECT_EQ(Slurp(Path), text);
        ASSERT_EQ(Headless.DebugLines.size(), 1u) << folder;
        EXPECT_NE(Headless.DebugLines[0].find(folder ? "is in a read-only folder" : "is read-only"),
                  std::string::npos);
        EXPECT_EQ(
            std::distance(fs::directory_iterator(Dir + "/Quorvanel"), fs::directory_iterator()), 1);
    }
}

TEST_F(SettingsStore, AFileIsReplacedWholeOrNotAtAll) {
    fs::create_directories(Dir + "/Quorvanel");
    std::string content = "stale", problem;
    EXPECT_EQ(ReadSettingsFile(Path, &content), 0); // a first run has none
    EXPECT_EQ(content, "");
    Spill(Path + ".new", "half written"); // left by an interrupted save
    ASSERT_EQ(ReplaceSettingsFile(Path, "old\n"), 1);
    EXPECT_FALSE(fs::exists(Path + ".new"));
    fs::create_directories(Path + ".new/blocker"); // the new file cannot be written
    EXPECT_EQ(ReplaceSettingsFile(Path, "new\n", 1, &problem), 0);
    EXPECT_EQ(problem, "File exists");
    EXPECT_EQ(Slurp(Path), "old\n");
    // Without the folder's lock a save takes a name of its own, and leaves none behind.
    EXPECT_EQ(ReplaceSettingsFile(Path, "new\n", 0), 1);
    EXPECT_EQ(Slurp(Path), "new\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir + "/Quorvanel"), fs::directory_iterator()),
              2);
    EXPECT_EQ(ReplaceSettingsFile(Dir + "/absent/settings", "x", 1, &problem), 0);
    EXPECT_EQ(problem, "No such file or directory");
}

// Root reads and writes whatever the permissions say; for root the same failures are shown
// by the mode bits (read-only files and folders above) and by /proc/self/mem (a file whose
// reading fails, below).
TEST_F(SettingsStore, PermissionDeniedKeepsTheOldFileAndIsReported) {
    if (geteuid() == 0) GTEST_SKIP() << "root is never denied";
    fs::create_directories(Dir + "/Quorvanel");
    ASSERT_EQ(ReplaceSettingsFile(Path, "old\n"), 1);
    ASSERT_EQ(chmod((Dir + "/Quorvanel").c_str(), 0500), 0);
    std::string problem, content;
    EXPECT_EQ(ReplaceSettingsFile(Path, "new\n", 1, &problem), 0);
    EXPECT_EQ(problem, "Permission denied");
    ASSERT_EQ(chmod((Dir + "/Quorvanel").c_str(), 0700), 0);
    ASSERT_EQ(chmod(Path.c_str(), 0), 0);
    EXPECT_EQ(ReadSettingsFile(Path, &content, &problem), -1);
    EXPECT_EQ(problem, "could not be opened: Permission denied");
    EXPECT_EQ(Run(&A, [](SettingsFileStore*, int32_t) {}), 0);
    ASSERT_EQ(Headless.DebugLines.size(), 1u);
    EXPECT_NE(Headless.DebugLines[0].find("Permission denied"), std::string::npos);
    chmod(Path.c_str(), 0600);
    EXPECT_EQ(Slurp(Path), "old\n");
}

TEST(SettingsFolder, ComesFromTheEnvironmentOrThePasswordDatabase) {
    const struct {
        const char *Xdg, *Home, *Password, *Folder;
    } cases[] = {
        {"/x", "/h", "/p", "/x/Quorvanel"},
        {"relative", "/h", "/p", "/h/.config/Quorvanel"}, // a relative one is to be ignored
        {nullptr, "", "/p", "/p/.config/Quorvanel"},
        {nullptr, nullptr, "/p", "/p/.config/Quorvanel"},
        {"", nullptr, nullptr, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChooseSettingsFolder(c.Xdg, c.Home, c.Password), c.Folder)
            << (c.Xdg ? c.Xdg : "-") << (c.Home ? c.Home : "-");
}

TEST(RegularFile, OnlyAWholeRegularFileIsReadAndNothingBlocks) {
    const std::string dir = PrivateTempDir("regular").string(), file = dir + "/file";
    std::string bytes = "stale", problem;
    EXPECT_EQ(ReadRegularFile(dir + "/none", 100, 0, &bytes, &problem), FileMissing);
    EXPECT_EQ(bytes, "");
    Spill(file, std::string(200, 'b'));
    EXPECT_EQ(ReadRegularFile(file, 200, 0, &bytes, &problem), FileRead);
    EXPECT_EQ(bytes.size(), 200u);
    EXPECT_EQ(ReadRegularFile(file, 199, 0, &bytes, &problem), FileUnusable);
    EXPECT_EQ(std::pair(bytes, problem),
              std::pair(std::string(), std::string("is larger than 199 bytes")));
    EXPECT_EQ(ReadRegularFile(file, 150, 1, &bytes, &problem), FileRead); // its first bytes only
    EXPECT_EQ(bytes, std::string(150, 'b'));
    ASSERT_EQ(mkfifo((dir + "/fifo").c_str(), 0600), 0); // no writer: a blocking open waits
    const struct {
        std::string Path, Problem;
    } refused[] = {
        {dir + "/fifo", "is a FIFO, not a regular file"},
        {dir, "is a folder, not a regular file"},
        {"/dev/null", "is a device, not a regular file"},
        // A regular file whose reading fails, whoever reads it.
        {"/proc/self/mem", "could not be read to its end: Input/output error"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(ReadRegularFile(r.Path, 1 << 20, 1, &bytes, &problem), FileUnusable) << r.Path;
        EXPECT_EQ(problem, r.Problem);
    }
}

} // namespace
