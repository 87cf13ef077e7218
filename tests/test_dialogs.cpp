#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>

#include "game/game_record.h"
#include "shell/dialogs.h"
#include "shell/headless/headless.h"

// A dialog box as the procedures see it: button states, item texts, geometry, the end.
struct FakeDialog {
    std::map<int32_t, int32_t> Checked;
    std::map<int32_t, std::string> Texts;
    DialogRect Window{0, 0, 200, 100};
    DialogRect OwnerClient{300, 200, 700, 500};
    int32_t Moves = 0;
    DialogPoint MovedTo;
    int32_t Ended = 0;
    intptr_t Result = -1;
};

static FakeDialog& Fake(DialogHandle dlg) {
    return *static_cast<FakeDialog*>(dlg);
}

void CheckRadioButton(DialogHandle dlg, int32_t firstId, int32_t lastId, int32_t checkId) {
    for (int32_t id = firstId; id <= lastId; ++id) Fake(dlg).Checked[id] = id == checkId;
}
int32_t IsDlgButtonChecked(DialogHandle dlg, int32_t id) {
    auto it = Fake(dlg).Checked.find(id);
    return it != Fake(dlg).Checked.end() && it->second;
}
void SetDlgItemText(DialogHandle dlg, int32_t id, const char* text) {
    Fake(dlg).Texts[id] = text;
}
int32_t GetDlgItemText(DialogHandle dlg, int32_t id, char* buffer, int32_t maxCount) {
    const std::string& text = Fake(dlg).Texts[id];
    auto n = static_cast<int32_t>(std::min<std::size_t>(text.size(), maxCount - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}
void EndDialog(DialogHandle dlg, intptr_t result) {
    ++Fake(dlg).Ended;
    Fake(dlg).Result = result;
}
DialogRect GetDialogWindowRect(DialogHandle dlg) {
    return Fake(dlg).Window;
}
DialogRect GetOwnerClientRect(DialogHandle dlg) {
    return Fake(dlg).OwnerClient;
}
void MoveDialog(DialogHandle dlg, int32_t left, int32_t top) {
    ++Fake(dlg).Moves;
    Fake(dlg).MovedTo = {left, top};
}

namespace {

int32_t Send(FakeDialog& box, DialogProc proc, uint32_t message, uintptr_t wParam = 0) {
    return proc(&box, message, wParam, 0);
}

int32_t Command(FakeDialog& box, DialogProc proc, int32_t id) {
    // The high word carries the notification code, which the procedures must ignore.
    return Send(box, proc, WmCommand, static_cast<uintptr_t>(id) | (1u << 16));
}

std::set<int32_t> CheckedIn(const FakeDialog& box, int32_t first, int32_t last) {
    std::set<int32_t> ids;
    for (auto [id, on] : box.Checked)
        if (on && id >= first && id <= last) ids.insert(id);
    return ids;
}

struct Settings {
    int32_t Ball, Enemy, Player, Bonus, Flag, Time, Sounds, Random;
};

Settings Current() {
    return {Game.BallSpeed,   Game.EnemySpeed,  Game.PlayerSpeed, Game.BonusLife,
            Game.RespawnFlag, Game.RespawnTime, Game.Sounds,      Game.RandomGame};
}

void ExpectSame(const Settings& a, const Settings& b) {
    EXPECT_EQ(a.Ball, b.Ball);
    EXPECT_EQ(a.Enemy, b.Enemy);
    EXPECT_EQ(a.Player, b.Player);
    EXPECT_EQ(a.Bonus, b.Bonus);
    EXPECT_EQ(a.Flag, b.Flag);
    EXPECT_EQ(a.Time, b.Time);
    EXPECT_EQ(a.Sounds, b.Sounds);
    EXPECT_EQ(a.Random, b.Random);
}

class DialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetGameRecord();
        ResetHeadless();
    }
};

} // namespace

using OptionsDialog = DialogTest;

TEST_F(OptionsDialog, OpensWithTheCurrentSettingsSelected) {
    Game.BallSpeed = 1;
    Game.EnemySpeed = 0;
    Game.PlayerSpeed = 1;
    Game.BonusLife = 2;
    Game.RespawnTime = 60;
    Game.Sounds = 5; // any non-zero value means on
    Game.RandomGame = 0;
    FakeDialog box;
    EXPECT_EQ(Send(box, OptionsDlgProc, WmInitDialog), 1);
    EXPECT_EQ(CheckedIn(box, 1006, 1007), std::set<int32_t>{1007});
    EXPECT_EQ(CheckedIn(box, 1008, 1009), std::set<int32_t>{1008});
    EXPECT_EQ(CheckedIn(box, 1010, 1011), std::set<int32_t>{1011});
    EXPECT_EQ(CheckedIn(box, 1013, 1015), std::set<int32_t>{1015});
    EXPECT_EQ(CheckedIn(box, 1019, 1023), std::set<int32_t>{1022});
    EXPECT_EQ(CheckedIn(box, 1024, 1025), std::set<int32_t>{1024});
    EXPECT_EQ(CheckedIn(box, 1026, 1027), std::set<int32_t>{1027});
    EXPECT_EQ(box.Ended, 0);
}

TEST_F(OptionsDialog, BonusLifeMapsToItsButtonBothWays) {
    const std::pair<int32_t, int32_t> pairs[] = {{0, 1014}, {1, 1013}, {2, 1015}};
    for (auto [value, button] : pairs) {
        Game.BonusLife = value;
        FakeDialog box;
        Send(box, OptionsDlgProc, WmInitDialog);
        EXPECT_EQ(CheckedIn(box, 1013, 1015), std::set<int32_t>{button}) << value;
        // Open with another rule, pick this button, and OK must store the value.
        Game.BonusLife = (value + 1) % 3;
        FakeDialog second;
        Send(second, OptionsDlgProc, WmInitDialog);
        CheckRadioButton(&second, 1013, 1015, button);
        Command(second, OptionsDlgProc, IdOk);
        EXPECT_EQ(Game.BonusLife, value) << button;
    }
}

TEST_F(OptionsDialog, UnknownBonusRuleSelectsNothingAndOkKeepsIt) {
    Game.BonusLife = 7;
    FakeDialog box;
    Send(box, OptionsDlgProc, WmInitDialog);
    EXPECT_TRUE(CheckedIn(box, 1013, 1015).empty());
    Command(box, OptionsDlgProc, IdOk);
    EXPECT_EQ(Game.BonusLife, 7);
}

TEST_F(OptionsDialog, NeverRespawningOpensWithNeverAndOkKeepsThePeriod) {
    Game.RespawnFlag = 0;
    Game.RespawnTime = 30;
    FakeDialog box;
    Send(box, OptionsDlgProc, WmInitDialog);
    EXPECT_EQ(CheckedIn(box, 1019, 1023), std::set<int32_t>{1023});
    EXPECT_EQ(Command(box, OptionsDlgProc, IdOk), 1);
    EXPECT_EQ(Game.RespawnFlag, 0);
    EXPECT_EQ(Game.RespawnTime, 30);
    EXPECT_EQ(box.Ended, 1);
    EXPECT_EQ(box.Result, 0);
}

TEST_F(OptionsDialog, ChoosingNeverThenAPeriodRestoresRespawning) {
    Game.RespawnFlag = 1;
    Game.RespawnTime = 30;
    FakeDialog box;
    Send(box, OptionsDlgProc, WmInitDialog);
    EXPECT_EQ(CheckedIn(box, 1019, 1023), std::set<int32_t>{1021});
    CheckRadioButton(&box, 1019, 1023, 1023);
    Command(box, OptionsDlgProc, IdOk);
    EXPECT_EQ(Game.RespawnFlag, 0);
    EXPECT_EQ(Game.RespawnTime, 30);

    FakeDialog again;
    Send(again, OptionsDlgProc, WmInitDialog);
    CheckRadioButton(&again, 1019, 1023, 1020); // "45": ids do not follow screen order
    Command(again, OptionsDlgProc, IdOk);
    EXPECT_EQ(Game.RespawnFlag, 1);
    EXPECT_EQ(Game.RespawnTime, 45);
}

TEST_F(OptionsDialog, AnOddPeriodOpensAsNever) {
    Game.RespawnTime = 20;
    FakeDialog box;
    Send(box, OptionsDlgProc, WmInitDialog);
    EXPECT_EQ(CheckedIn(box, 1019, 1023), std::set<int32_t>{1023});
}

TEST_F(OptionsDialog, OkStoresEveryGroup) {
    FakeDialog box;
    Send(box, OptionsDlgProc, WmInitDialog);
    CheckRadioButton(&box, 1006, 1007, 1007);
    CheckRadioButton(&box, 1008, 1009, 1009);
    CheckRadioButton(&box, 1010, 1011, 1011);
    CheckRadioButton(&box, 1013, 1015, 1013);
    CheckRadioButton(&box, 1019, 1023, 1022);
    CheckRadioButton(&box, 1024, 1025, 1024);
    CheckRadioButton(&box, 1026, 1027, 1026);
    Command(box, OptionsDlgProc, IdOk);
    ExpectSame(Current(), {1, 1, 1, 1, 1, 60, 1, 1});

    FakeDialog back;
    Send(back, OptionsDlgProc, WmInitDialog);
    CheckRadioButton(&back, 1006, 1007, 1006);
    CheckRadioButton(&back, 1008, 1009, 1008);
    CheckRadioButton(&back, 1010, 1011, 1010);
    CheckRadioButton(&back, 1019, 1023, 1019);
    CheckRadioButton(&back, 1024, 1025, 1025);
    CheckRadioButton(&back, 1026, 1027, 1027);
    Command(back, OptionsDlgProc, IdOk);
    ExpectSame(Current(), {0, 0, 0, 1, 1, 15, 0, 0});
}

TEST_F(OptionsDialog, CancelChangesNothing) {
    Game.RespawnFlag = 0;
    Game.RespawnTime = 45;
    Game.BonusLife = 1;
    Settings before = Current();
    FakeDialog box;
    Send(box, OptionsDlgProc, WmInitDialog);
    CheckRadioButton(&box, 1006, 1007, 1007);
    CheckRadioButton(&box, 1013, 1015, 1015);
    CheckRadioButton(&box, 1019, 1023, 1019);
    CheckRadioButton(&box, 1024, 1025, 1024);
    EXPECT_EQ(Command(box, OptionsDlgProc, IdCancel), 1);
    ExpectSame(Current(), before);
    EXPECT_EQ(box.Ended, 1);
}

TEST_F(OptionsDialog, OtherMessagesAndIdsAreNotHandled) {
    FakeDialog box;
    EXPECT_EQ(Send(box, OptionsDlgProc, 0x0200), 0);
    EXPECT_EQ(Command(box, OptionsDlgProc, 1006), 0);
    EXPECT_EQ(box.Ended, 0);
}

using NameDialog = DialogTest;

TEST_F(NameDialog, OpensWithThePreviousName) {
    std::strcpy(Game.PlayerName, "Wren");
    FakeDialog box;
    EXPECT_EQ(Send(box, NameDlgProc, WmInitDialog), 1);
    EXPECT_EQ(box.Texts[NameEditId], "Wren");
}

TEST_F(NameDialog, OkKeepsTheFirst47Characters) {
    FakeDialog box;
    Send(box, NameDlgProc, WmInitDialog);
    std::string typed;
    for (int i = 0; i < 60; ++i) typed += static_cast<char>('a' + i % 26);
    box.Texts[NameEditId] = typed;
    EXPECT_EQ(Command(box, NameDlgProc, IdOk), 1);
    EXPECT_EQ(std::string(Game.PlayerName), typed.substr(0, 47));
    EXPECT_EQ(box.Ended, 1);
}

TEST_F(NameDialog, CancelKeepsTheName) {
    std::strcpy(Game.PlayerName, "Quill");
    FakeDialog box;
    Send(box, NameDlgProc, WmInitDialog);
    box.Texts[NameEditId] = "Somebody Else";
    EXPECT_EQ(Command(box, NameDlgProc, IdCancel), 1);
    EXPECT_STREQ(Game.PlayerName, "Quill");
    EXPECT_EQ(box.Ended, 1);
}

using AboutDialog = DialogTest;

TEST_F(AboutDialog, OkAndCancelCloseItOtherIdsDoNot) {
    for (int32_t id : {IdOk, IdCancel}) {
        FakeDialog box;
        EXPECT_EQ(Send(box, AboutDlgProc, WmInitDialog), 1);
        EXPECT_EQ(Command(box, AboutDlgProc, 1000), 0);
        EXPECT_EQ(box.Ended, 0);
        EXPECT_EQ(Command(box, AboutDlgProc, id), 1);
        EXPECT_EQ(box.Ended, 1);
    }
}

using CentringDialogs = DialogTest;

TEST_F(CentringDialogs, EveryBoxIsCentredOnOpening) {
    for (DialogProc proc : {AboutDlgProc, OptionsDlgProc, NameDlgProc}) {
        FakeDialog box;
        box.Window = {10, 10, 211, 111}; // 201 x 101
        Send(box, proc, WmInitDialog);
        EXPECT_EQ(box.Moves, 1);
        // Client 400 x 300 at (300, 200): centre (500, 350); halves truncate.
        EXPECT_EQ(box.MovedTo.X, 500 - 100);
        EXPECT_EQ(box.MovedTo.Y, 350 - 50);
    }
}

TEST_F(CentringDialogs, LargerThanTheOwnerStartsAboveAndLeft) {
    DialogRect owner{100, 80, 500, 380};
    DialogRect big{0, 0, 451, 520};
    DialogPoint at = CentredDialogPosition(big, owner, 0);
    EXPECT_LT(at.X, owner.Left);
    EXPECT_LT(at.Y, owner.Top);
    EXPECT_EQ(at.X, 300 - 225);
    EXPECT_EQ(at.Y, 230 - 260);
    EXPECT_EQ(CentredDialogPosition(big, owner, 7).Y, at.Y + 7);
}

TEST_F(CentringDialogs, OddOwnerSizesTruncate) {
    DialogRect owner{0, 0, 401, 301};
    DialogPoint at = CentredDialogPosition({0, 0, 100, 50}, owner, 0);
    EXPECT_EQ(at.X, 150);
    EXPECT_EQ(at.Y, 125);
}

namespace {
std::vector<const DialogControl*> Radios(const DialogTemplate& t) {
    std::vector<const DialogControl*> out;
    for (int32_t i = 0; i < t.ControlCount; ++i)
        if (t.Controls[i].Kind == ControlKind::RadioButton) out.push_back(&t.Controls[i]);
    return out;
}
} // namespace

TEST(DialogTemplates, ControlsLieInsideTheirBox) {
    for (int32_t id : {AboutDialogId, OptionsDialogId, NameDialogId}) {
        const DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Id, id);
        EXPECT_STREQ(t->FontName, "MS Sans Serif");
        for (int32_t i = 0; i < t->ControlCount; ++i) {
            const DialogControl& c = t->Controls[i];
            EXPECT_GE(c.X, 0) << id << " " << i;
            EXPECT_GE(c.Y, 0) << id << " " << i;
            EXPECT_LE(c.X + c.W, t->Width) << id << " " << i;
            EXPECT_LE(c.Y + c.H, t->Height) << id << " " << i;
        }
    }
    EXPECT_EQ(FindDialogTemplate(110), nullptr);
}

TEST(DialogTemplates, RadioGroupsMatchWhatTheProcedureReads) {
    // Each settings group starts with a group-start button, and the groups' ranges are
    // exactly the ids the Options procedure checks.
    std::vector<const DialogControl*> radios = Radios(OptionsDialogTemplate);
    std::set<int32_t> ids;
    int32_t groups = 0;
    for (const DialogControl* r : radios) {
        EXPECT_TRUE(ids.insert(r->Id).second) << r->Id;
        if (r->Flags & ControlGroupStart) ++groups;
    }
    EXPECT_EQ(groups, 7);
    std::set<int32_t> expected;
    for (auto [a, b] : {std::pair{1006, 1011}, {1013, 1015}, {1019, 1027}})
        for (int32_t i = a; i <= b; ++i) expected.insert(i);
    EXPECT_EQ(ids, expected);
}

TEST(DialogTemplates, RespawnButtonsRunLeftToRightOutOfIdOrder) {
    std::vector<std::pair<int32_t, int32_t>> byX;
    for (const DialogControl* r : Radios(OptionsDialogTemplate))
        if (r->Id >= 1019 && r->Id <= 1023) byX.push_back({r->X, r->Id});
    std::sort(byX.begin(), byX.end());
    std::vector<int32_t> order;
    for (auto [x, id] : byX) order.push_back(id);
    EXPECT_EQ(order, (std::vector<int32_t>{1019, 1021, 1020, 1022, 1023}));
}

TEST(DialogTemplates, EachBoxHasOneDefaultButtonOk) {
    for (const DialogTemplate* t :
         {&AboutDialogTemplate, &OptionsDialogTemplate, &NameDialogTemplate}) {
        int32_t defaults = 0;
        for (int32_t i = 0; i < t->ControlCount; ++i)
            if (t->Controls[i].Kind == ControlKind::DefaultPushButton) {
                ++defaults;
                EXPECT_EQ(t->Controls[i].Id, IdOk);
            }
        EXPECT_EQ(defaults, 1) << t->Id;
    }
}
