// The dialog manager driven as a shell drives it: neutral events in, the dialog procedures'
// effects on the game record, the items' state and the drawn canvas out.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "display/software/surface.h"
#include "game/game_record.h"
#include "shell/keys.h"
#include "shell/popups/dialog_box.h"
#include "tests/support/world.h"

namespace {

const DialogScreen Screen = {{100, 80, 500, 380}, {0, 0, 0, 0}, 1};

int32_t IndexOf(const DialogBox& box, int32_t id) {
    for (size_t i = 0; i < box.Items.size(); ++i)
        if (box.Items[i].Def->Id == id) return static_cast<int32_t>(i);
    return -1;
}

int32_t FocusId(const DialogBox& box) {
    return box.Focus < 0 ? 0 : box.Items[box.Focus].Def->Id;
}

void Press(DialogBox& box, int32_t key, uint32_t modifiers = 0) {
    FeedDialogBox(&box, KeyDownEvent(key, modifiers));
}

PopupRect BoxOfItem(const DialogBox& box, int32_t id) {
    return box.Items[IndexOf(box, id)].Box;
}

void Mouse(DialogBox& box, PopupEventKind kind, const PopupRect& at, int32_t dx = 0,
           int32_t button = MouseLeft) {
    FeedDialogBox(&box, MouseEvent(kind, at.X + at.W / 2 + dx, at.Y + at.H / 2, button));
}

class DialogBoxTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetWorld(32); }
    void TearDown() override { CloseDialogBox(&Box); }
    DialogBox Box;
};

TEST_F(DialogBoxTest, TabVisitsTheChosenRadioOfEachGroupThenTheButtonsAndShiftTabGoesBack) {
    Game.BallSpeed = 1;
    Game.BonusLife = 2;
    Game.RespawnFlag = 1;
    Game.RespawnTime = 45;
    Game.Sounds = 1;
    ASSERT_TRUE(OpenDialogBox(&Box, OptionsDialogId, Screen));
    const std::vector<int32_t> order = {1007, 1008, 1010, 1015, 1024, 1020, 1027, IdOk, IdCancel};
    std::vector<int32_t> seen = {FocusId(Box)};
    for (size_t i = 1; i <= order.size(); ++i) {
        Press(Box, VkTab);
        seen.push_back(FocusId(Box));
    }
    EXPECT_EQ(seen, (std::vector<int32_t>{1007, 1008, 1010, 1015, 1024, 1020, 1027, IdOk, IdCancel,
                                          1007}));
    Press(Box, VkTab, ModifierShift);
    Press(Box, VkTab, ModifierShift);
    EXPECT_EQ(FocusId(Box), IdOk);
    EXPECT_FALSE(Box.Ended);
}

TEST_F(DialogBoxTest, ArrowsChooseWithinTheGroupInScreenOrderAndWrapRound) {
    Game.RespawnFlag = 1;
    Game.RespawnTime = 15;
    ASSERT_TRUE(OpenDialogBox(&Box, OptionsDialogId, Screen));
    while (FocusId(Box) != 1019) Press(Box, VkTab);
    // Screen order is 15, 30, 45, 60, Never: ids 1019, 1021, 1020, 1022, 1023.
    std::vector<int32_t> chosen;
    for (int32_t key : {VkRight, VkDown, VkRight, VkRight, VkRight, VkLeft, VkUp})
        Press(Box, key), chosen.push_back(FocusId(Box));
    EXPECT_EQ(chosen, (std::vector<int32_t>{1021, 1020, 1022, 1023, 1019, 1023, 1022}));
    for (int32_t id : {1019, 1020, 1021, 1022, 1023})
        EXPECT_EQ(IsDlgButtonChecked(&Box, id), id == 1022) << id;
    // The other groups keep their choice; Space on a focused radio chooses it again.
    EXPECT_TRUE(IsDlgButtonChecked(&Box, 1006) && !IsDlgButtonChecked(&Box, 1007));
    Press(Box, VkSpace);
    EXPECT_TRUE(IsDlgButtonChecked(&Box, 1022));
    Press(Box, VkReturn); // a radio has the focus: Enter is the default button, OK
    EXPECT_TRUE(Box.Ended);
    EXPECT_EQ(std::pair(Game.RespawnFlag, Game.RespawnTime), std::pair(1, 60));
}

TEST_F(DialogBoxTest, EnterEscapeSpaceAndTheCloseBoxEndTheBoxThroughItsProcedure) {
    struct Case {
        std::vector<PopupEvent> Events;
        int32_t Stored; // 1 when the Options box took the changed ball speed
    };
    const Case cases[] = {
        {{KeyDownEvent(VkRight), KeyDownEvent(VkReturn)}, 1},
        {{KeyDownEvent(VkRight), KeyDownEvent(VkEscape)}, 0},
        {{KeyDownEvent(VkRight), CloseEvent()}, 0},
        // Tab eight times reaches Cancel: Enter then presses it, not the default button.
        {{KeyDownEvent(VkRight), KeyDownEvent(VkTab), KeyDownEvent(VkTab), KeyDownEvent(VkTab),
          KeyDownEvent(VkTab), KeyDownEvent(VkTab), KeyDownEvent(VkTab), KeyDownEvent(VkTab),
          KeyDownEvent(VkTab), KeyDownEvent(VkReturn)},
         0},
        {{KeyDownEvent(VkRight), KeyDownEvent(VkTab, ModifierShift),
          KeyDownEvent(VkTab, ModifierShift), KeyDownEvent(VkSpace)},
         1},
    };
    for (const Case& c : cases) {
        Game.BallSpeed = 0;
        ASSERT_TRUE(OpenDialogBox(&Box, OptionsDialogId, Screen));
        for (const PopupEvent& e : c.Events) FeedDialogBox(&Box, e);
        EXPECT_TRUE(Box.Ended) << &c - cases;
        EXPECT_EQ(Game.BallSpeed, c.Stored) << &c - cases;
        // Once ended, the box takes nothing more.
        FeedDialogBox(&Box, KeyDownEvent(VkLeft));
        EXPECT_EQ(IsDlgButtonChecked(&Box, 1007), 1) << &c - cases;
    }
    ASSERT_TRUE(OpenDialogBox(&Box, AboutDialogId, Screen));
    EXPECT_EQ(FocusId(Box), IdOk);
    Press(Box, VkReturn);
    EXPECT_TRUE(Box.Ended);
}

TEST_F(DialogBoxTest, NameEditSelectsTheOldNameTypesOverItAndKeepsFortySevenPrintables) {
    std::strcpy(Game.PlayerName, "Quill");
    ASSERT_TRUE(OpenDialogBox(&Box, NameDialogId, Screen));
    EXPECT_EQ(FocusId(Box), NameEditId);
    EXPECT_TRUE(Box.AllSelected);
    FeedDialogBox(&Box, TextEvent("Ro"));
    EXPECT_EQ(Box.Items[Box.Focus].Text, "Ro");
    // Editing keys at the caret; control bytes and non-ASCII characters are not taken.
    Press(Box, VkHome);
    FeedDialogBox(&Box, TextEvent("A\t\xC3\xA9"));
    Press(Box, VkEnd);
    Press(Box, VkBack);
    Press(Box, VkLeft);
    Press(Box, VkDelete);
    FeedDialogBox(&Box, TextEvent("sa"));
    EXPECT_EQ(Box.Items[Box.Focus].Text, "Asa");
    EXPECT_EQ(Box.Caret, 3u);
    // A selection is deleted by Backspace, and collapses to its left end with Left.
    Press(Box, VkTab);
    Press(Box, VkTab);
    EXPECT_TRUE(Box.AllSelected);
    Press(Box, VkLeft);
    EXPECT_EQ(std::pair(Box.AllSelected, Box.Caret), std::pair(0, size_t{0}));
    Press(Box, VkTab);
    Press(Box, VkTab);
    Press(Box, VkBack);
    EXPECT_EQ(Box.Items[Box.Focus].Text, "");
    FeedDialogBox(&Box, TextEvent(std::string(60, 'm').c_str()));
    EXPECT_EQ(Box.Items[Box.Focus].Text, std::string(47, 'm'));
    Press(Box, VkReturn);
    EXPECT_EQ(std::string(Game.PlayerName), std::string(47, 'm'));

    // Escape keeps the old name.
    ASSERT_TRUE(OpenDialogBox(&Box, NameDialogId, Screen));
    FeedDialogBox(&Box, TextEvent("Zed"));
    Press(Box, VkEscape);
    EXPECT_TRUE(Box.Ended);
    EXPECT_EQ(std::string(Game.PlayerName), std::string(47, 'm'));
}

TEST_F(DialogBoxTest, AButtonActsWhenPressedAndReleasedOverItAndRadiosOnThePress) {
    ASSERT_TRUE(OpenDialogBox(&Box, OptionsDialogId, Screen));
    const PopupRect ok = BoxOfItem(Box, IdOk), cancel = BoxOfItem(Box, IdCancel);
    // Pressed on OK, released over Cancel: nothing; the right button does nothing either.
    Mouse(Box, PopupEventKind::MouseDown, ok);
    EXPECT_EQ(std::pair(FocusId(Box), Box.PressedInside), std::pair(IdOk, 1));
    Mouse(Box, PopupEventKind::MouseMove, cancel);
    EXPECT_EQ(Box.PressedInside, 0);
    Mouse(Box, PopupEventKind::MouseUp, cancel);
    Mouse(Box, PopupEventKind::MouseDown, ok, 0, MouseRight);
    Mouse(Box, PopupEventKind::MouseUp, ok, 0, MouseRight);
    EXPECT_FALSE(Box.Ended);
    // A radio button is chosen as the mouse goes down on its label.
    Game.PlayerSpeed = 0;
    Mouse(Box, PopupEventKind::MouseDown, BoxOfItem(Box, 1011), 8);
    EXPECT_TRUE(IsDlgButtonChecked(&Box, 1011) && !IsDlgButtonChecked(&Box, 1010));
    // Out and back in again before the release: the button acts.
    Mouse(Box, PopupEventKind::MouseDown, ok);
    Mouse(Box, PopupEventKind::MouseMove, cancel);
    Mouse(Box, PopupEventKind::MouseMove, ok, ok.W / 2 - 1);
    EXPECT_EQ(Box.PressedInside, 1);
    Mouse(Box, PopupEventKind::MouseUp, ok, ok.W / 2 - 1);
    EXPECT_TRUE(Box.Ended);
    EXPECT_EQ(Game.PlayerSpeed, 1);
}

TEST_F(DialogBoxTest, AClickInTheEditPutsTheCaretAtTheCharacterBeforeIt) {
    std::strcpy(Game.PlayerName, "WWWW");
    ASSERT_TRUE(OpenDialogBox(&Box, NameDialogId, Screen));
    const PopupRect edit = BoxOfItem(Box, NameEditId);
    std::vector<size_t> carets;
    for (int32_t x : {0, 3, 13, 14, 60})
        FeedDialogBox(&Box, MouseEvent(PopupEventKind::MouseDown, edit.X + x, edit.Y + 5)),
            carets.push_back(Box.Caret);
    // The text starts 3 pixels in; a W is 10 pixels wide.
    EXPECT_EQ(carets, (std::vector<size_t>{0, 0, 1, 1, 4}));
    EXPECT_FALSE(Box.AllSelected);
}

// A box's pixels, laid out from dialog units in the dialog font (6 x 13 pixels a character)
// and centred on the owner, frame and scale included.
TEST_F(DialogBoxTest, LaysOutInDialogUnitsCentresOnTheOwnerAndDrawsItsItems) {
    const DialogScreen scaled = {{100, 80, 900, 680}, {3, 22, 3, 3}, 2};
    ASSERT_TRUE(OpenDialogBox(&Box, OptionsDialogId, scaled));
    EXPECT_EQ(std::pair(Box.Width, Box.Height), std::pair(311, 349)); // 207 x 215 units
    const DialogRect outer = GetDialogWindowRect(&Box);
    EXPECT_EQ(outer.Right - outer.Left, 311 * 2 + 6);
    EXPECT_EQ(std::pair(outer.Left, outer.Top), std::pair(500 - 314, 380 - 361));
    EXPECT_EQ(std::pair(Box.Left, Box.Top), std::pair(500 - 311, 380 - 339));
    const PopupRect ok = BoxOfItem(Box, IdOk);
    EXPECT_EQ(ok.X, (90 * 6 + 2) / 4);
    EXPECT_EQ(ok.H, (14 * 13 + 4) / 8);

    // The chosen radio button has its dot; choosing the other moves it.
    const PopupRect slow = BoxOfItem(Box, 1006), fast = BoxOfItem(Box, 1007);
    auto dot = [&](const PopupRect& r) {
        return ReadPixel(Box.Canvas, r.X + 6, r.Y + r.H / 2) == 0;
    };
    Game.BallSpeed = 0;
    ASSERT_TRUE(OpenDialogBox(&Box, OptionsDialogId, Screen));
    EXPECT_TRUE(RenderDialogBox(&Box));
    EXPECT_FALSE(RenderDialogBox(&Box)); // nothing changed since
    EXPECT_TRUE(dot(slow) && !dot(fast));
    Press(Box, VkRight);
    EXPECT_TRUE(RenderDialogBox(&Box));
    EXPECT_TRUE(!dot(slow) && dot(fast));
    // The logo fills its sunken picture box; OK's caption is drawn in black on the face.
    const PopupRect logo = BoxOfItem(Box, IdStatic);
    int32_t logoPixels = 0, okInk = 0;
    for (int32_t y = logo.Y + 1; y < logo.Y + logo.H - 1; ++y)
        for (int32_t x = logo.X + 1; x < logo.X + logo.W - 1; ++x)
            logoPixels += ReadPixel(Box.Canvas, x, y) != MapRgbToPixel(Box.Canvas, FaceColour);
    for (int32_t y = ok.Y + 3; y < ok.Y + ok.H - 3; ++y)
        for (int32_t x = ok.X + 3; x < ok.X + ok.W - 3; ++x)
            okInk += ReadPixel(Box.Canvas, x, y) == 0;
    EXPECT_GT(logoPixels, logo.W * logo.H / 2);
    EXPECT_GT(okInk, 15);
}

TEST_F(DialogBoxTest, AnUnknownTemplateOpensNothing) {
    EXPECT_FALSE(OpenDialogBox(&Box, 4242, Screen));
    EXPECT_EQ(Box.Canvas, nullptr);
    EXPECT_FALSE(RenderDialogBox(&Box));
    FeedDialogBox(&Box, KeyDownEvent(VkReturn)); // nothing to send it to
    EXPECT_FALSE(Box.Ended);
}

} // namespace
