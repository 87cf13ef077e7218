#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <span>
#include <string>
#include <tuple>
#include <vector>

#include "game/game_record.h"
#include "shell/dialogs.h"

struct FakeDialog { // a dialog box as the procedures see it, and the ranges they check
    std::set<int32_t> On;
    std::map<int32_t, std::string> Texts;
    std::vector<std::pair<int32_t, int32_t>> Ranges;
    DialogPoint MovedTo;
    int32_t Ended = 0;
    static FakeDialog& Of(DialogHandle dlg) { return *static_cast<FakeDialog*>(dlg); }
};

void CheckRadioButton(DialogHandle dlg, int32_t firstId, int32_t lastId, int32_t checkId) {
    FakeDialog::Of(dlg).Ranges.push_back({firstId, lastId});
    for (int32_t id = firstId; id <= lastId; ++id) FakeDialog::Of(dlg).On.erase(id);
    if (checkId >= firstId && checkId <= lastId) FakeDialog::Of(dlg).On.insert(checkId);
}
int32_t IsDlgButtonChecked(DialogHandle dlg, int32_t id) {
    return static_cast<int32_t>(FakeDialog::Of(dlg).On.count(id));
}
void SetDlgItemText(DialogHandle dlg, int32_t id, const char* text) {
    FakeDialog::Of(dlg).Texts[id] = text;
}
int32_t GetDlgItemText(DialogHandle dlg, int32_t id, char* buffer, int32_t maxCount) {
    buffer[FakeDialog::Of(dlg).Texts[id].copy(buffer, maxCount - 1)] = '\0';
    return static_cast<int32_t>(std::strlen(buffer));
}
void EndDialog(DialogHandle dlg, intptr_t) {
    ++FakeDialog::Of(dlg).Ended;
}
DialogRect GetDialogWindowRect(DialogHandle) {
    return {10, 10, 461, 531}; // 451 x 521: larger than its owner
}
DialogRect GetOwnerClientRect(DialogHandle) {
    return {100, 80, 501, 381}; // 401 x 301
}
void MoveDialog(DialogHandle dlg, int32_t left, int32_t top) {
    FakeDialog::Of(dlg).MovedTo = {left, top};
}

// Ball, enemy and player speed, bonus rule, respawn flag and period, sounds, random game.
using Settings = std::tuple<int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t>;
static auto Options() {
    return std::tie(Game.BallSpeed, Game.EnemySpeed, Game.PlayerSpeed, Game.BonusLife,
                    Game.RespawnFlag, Game.RespawnTime, Game.Sounds, Game.RandomGame);
}

static int32_t Send(FakeDialog& box, DialogProc proc, uint32_t message, int32_t id = 0) {
    return proc(&box, message, 1u << 16 | id, 0); // a notification code in the high word
}

TEST(OptionsDialog, OpensOnTheSettingsAndOkStoresEveryGroupCancelNothing) {
    const std::tuple<std::set<int32_t>, std::vector<int32_t>, Settings> steps[] = {
        {{1006, 1008, 1010, 1023, 1024, 1027}, {IdOk}, {0, 0, 0, 7, 0, 20, 1, 0}},
        {{1006, 1008, 1010, 1023, 1024, 1027},
         {1007, 1009, 1011, 1013, 1022, 1025, 1026, IdOk},
         {1, 1, 1, 1, 1, 60, 0, 1}},
        {{1007, 1009, 1011, 1013, 1022, 1025, 1026},
         {1006, 1008, 1010, 1015, 1021, 1024, 1027, IdOk},
         {0, 0, 0, 2, 1, 30, 1, 0}},
        {{1006, 1008, 1010, 1015, 1021, 1024, 1027}, {1023, IdOk}, {0, 0, 0, 2, 0, 30, 1, 0}},
        {{1006, 1008, 1010, 1015, 1023, 1024, 1027}, {IdOk}, {0, 0, 0, 2, 0, 30, 1, 0}},
        {{1006, 1008, 1010, 1015, 1023, 1024, 1027}, {1020, IdOk}, {0, 0, 0, 2, 1, 45, 1, 0}},
        {{1006, 1008, 1010, 1015, 1020, 1024, 1027}, {1014, 1019, IdOk}, {0, 0, 0, 0, 1, 15, 1, 0}},
        {{1006, 1008, 1010, 1014, 1019, 1024, 1027}, {1022, IdCancel}, {0, 0, 0, 0, 1, 15, 1, 0}},
    };
    Options() = Settings{0, 0, 0, 7, 1, 20, 5, 0};      // an unknown bonus, an odd period, sound 5
    for (const auto& [opened, clicks, after] : steps) { // each opens on what the last left
        FakeDialog box;
        Send(box, OptionsDlgProc, WmInitDialog);
        EXPECT_EQ(box.On, opened) << testing::PrintToString(after);
        for (int32_t id : clicks) // a click on a radio button clears the rest of its group
            for (auto [first, last] : std::vector(box.Ranges))
                if (id >= first && id <= last) CheckRadioButton(&box, first, last, id);
        Send(box, OptionsDlgProc, WmCommand, clicks.back());
        EXPECT_EQ(Options(), after);
    }
}

TEST(Dialogs, EveryBoxIsCentredAndClosesOnOkOrCancelOnly) {
    std::strcpy(Game.PlayerName, "Quill"); // only the name box reads what is typed, only on OK
    for (DialogProc proc : {AboutDlgProc, OptionsDlgProc, NameDlgProc})
        for (int32_t command : {IdCancel, IdOk}) {
            FakeDialog box;
            EXPECT_EQ(Send(box, proc, WmInitDialog), 1);
            EXPECT_EQ(std::pair(box.MovedTo.X, box.MovedTo.Y), std::pair(300 - 225, 230 - 260));
            EXPECT_EQ(box.Texts[NameEditId], proc == NameDlgProc ? "Quill" : "");
            box.Texts[NameEditId] = std::string(47, 'k') + "+ThirteenMore"; // typed over
            EXPECT_EQ(Send(box, proc, WmCommand, 1000) + Send(box, proc, 0x0200), 0);
            EXPECT_EQ(Send(box, proc, WmCommand, command), 1);
            EXPECT_EQ(box.Ended, 1);
        }
    EXPECT_EQ(Game.PlayerName, std::string(47, 'k')); // the first 47 of the 60 typed
}

TEST(DialogTemplates, FitTheirBoxesOkIsTheDefaultAndRadioGroupsAreTheRangesRead) {
    FakeDialog box;
    Send(box, OptionsDlgProc, WmInitDialog);
    std::vector<std::set<int32_t>> groups, read;
    std::map<int32_t, int32_t> respawnByX; // labelled 15, 30, 45, 60, Never left to right
    for (int32_t id : {AboutDialogId, OptionsDialogId, NameDialogId}) {
        const DialogTemplate* t = FindDialogTemplate(id);
        ASSERT_EQ(t ? t->Id : 0, id);
        for (const DialogControl& c : std::span(t->Controls, t->ControlCount)) {
            EXPECT_TRUE(c.X + c.W <= t->Width && c.Y + c.H <= t->Height) << id << ' ' << c.Id;
            EXPECT_EQ(c.Kind == ControlKind::DefaultPushButton, c.Id == IdOk) << id;
            if (c.Kind != ControlKind::RadioButton) continue;
            if (c.Flags & ControlGroupStart || groups.empty()) groups.emplace_back();
            groups.back().insert(c.Id);
            if (c.Id >= 1019 && c.Id <= 1023) respawnByX[c.X] = c.Id;
        }
    }
    for (auto [first, last] : box.Ranges)
        for (read.emplace_back(); first <= last; ++first) read.back().insert(first);
    EXPECT_TRUE(std::ranges::is_permutation(groups, read)) << testing::PrintToString(groups);
    EXPECT_EQ(respawnByX, (std::map<int32_t, int32_t>{
                              {15, 1019}, {51, 1021}, {85, 1020}, {119, 1022}, {153, 1023}}));
}
