// The right-click menu driven as a shell drives it: neutral events in, the chosen command
// and the drawn canvas out.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "shell/keys.h"
#include "shell/popups/context_menu.h"
#include "tests/support/world.h"

namespace {

class ContextMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld(32);
        ASSERT_TRUE(OpenContextMenu(&Menu));
    }
    void TearDown() override { CloseContextMenu(&Menu); }
    void Reopen() { ASSERT_TRUE(OpenContextMenu(&Menu)); }
    void Feed(const PopupEvent& e) { FeedContextMenu(&Menu, e); }
    PopupEvent At(PopupEventKind kind, int32_t item, int32_t button = MouseLeft) {
        PopupRect b = ContextMenuItemBox(Menu, item);
        return MouseEvent(kind, b.X + b.W / 2, b.Y + b.H / 2, button);
    }
    ContextMenu Menu;
};

constexpr int32_t Separator = 2;

TEST_F(ContextMenuTest, ArrowsStepOverTheSeparatorRoundTheEndsAndEnterChooses) {
    std::vector<int32_t> highlighted;
    for (int32_t key : {VkDown, VkDown, VkDown, VkDown, VkDown, VkUp, VkUp})
        Feed(KeyDownEvent(key)), highlighted.push_back(Menu.Selected);
    EXPECT_EQ(highlighted, (std::vector<int32_t>{0, 1, 3, 4, 0, 4, 3}));
    EXPECT_FALSE(Menu.Ended);
    Feed(KeyDownEvent(VkReturn));
    EXPECT_EQ(std::pair(Menu.Ended, Menu.Command), std::pair(1, MenuEmail));

    Reopen(); // Up from nothing highlights the last item; Enter with nothing highlighted waits
    Feed(KeyDownEvent(VkReturn));
    EXPECT_FALSE(Menu.Ended);
    Feed(KeyDownEvent(VkUp));
    EXPECT_EQ(Menu.Selected, 4);
    Feed(KeyDownEvent(VkEscape));
    EXPECT_EQ(std::pair(Menu.Ended, Menu.Command), std::pair(1, 0));
    Feed(KeyDownEvent('A')); // an ended menu takes nothing more
    EXPECT_EQ(Menu.Command, 0);
}

TEST_F(ContextMenuTest, EachAccessKeyChoosesItsItemAndOtherLettersNothing) {
    const std::pair<int32_t, int32_t> keys[] = {
        {'A', MenuAbout}, {'O', MenuOptions}, {'E', MenuEmail}, {'W', MenuWebPage}};
    for (auto [key, command] : keys) {
        Reopen();
        Feed(KeyDownEvent('V')); // "Visit" is not the web page's access key: its W is
        Feed(KeyDownEvent('X'));
        Feed(KeyDownEvent(VkF9));
        EXPECT_FALSE(Menu.Ended);
        Feed(KeyDownEvent(key));
        EXPECT_EQ(std::pair(Menu.Ended, Menu.Command), std::pair(1, command)) << char(key);
    }
}

TEST_F(ContextMenuTest, TheHighlightFollowsThePointerAndAReleaseOverAnItemChoosesIt) {
    Feed(At(PopupEventKind::MouseMove, 1));
    EXPECT_EQ(Menu.Selected, 1);
    Feed(At(PopupEventKind::MouseMove, Separator));
    EXPECT_EQ(Menu.Selected, -1);
    Feed(MouseEvent(PopupEventKind::MouseMove, Menu.Width + 5, 10));
    EXPECT_EQ(Menu.Selected, -1);
    // A press inside and releases over the separator or outside choose nothing.
    Feed(At(PopupEventKind::MouseDown, 3));
    Feed(At(PopupEventKind::MouseUp, Separator));
    Feed(MouseEvent(PopupEventKind::MouseUp, 10, Menu.Height + 3));
    EXPECT_FALSE(Menu.Ended);
    Feed(At(PopupEventKind::MouseUp, 0));
    EXPECT_EQ(std::pair(Menu.Ended, Menu.Command), std::pair(1, MenuAbout));

    for (PopupEvent end : {MouseEvent(PopupEventKind::MouseDown, -1, 5), CloseEvent()}) {
        Reopen();
        Feed(At(PopupEventKind::MouseMove, 4));
        Feed(end);
        EXPECT_EQ(std::pair(Menu.Ended, Menu.Command), std::pair(1, 0));
    }
}

// Columns holding ink (black, or white on the highlight) in rows y0..y1 of the canvas.
std::set<int32_t> InkColumns(const Surface* s, int32_t y0, int32_t y1, uint32_t ink) {
    std::set<int32_t> columns;
    for (int32_t y = y0; y <= y1; ++y)
        for (int32_t x = 0; x < s->Width; ++x)
            if (ReadPixel(s, x, y) == ink) columns.insert(x);
    return columns;
}

TEST_F(ContextMenuTest, DrawsTheHighlightAndUnderlinesEachAccessKeyUnderItsLetter) {
    Feed(KeyDownEvent(VkDown));
    ASSERT_TRUE(RenderContextMenu(&Menu));
    EXPECT_FALSE(RenderContextMenu(&Menu));
    const uint32_t black = MapRgbToPixel(Menu.Canvas, Rgb(0, 0, 0));
    const uint32_t white = MapRgbToPixel(Menu.Canvas, Rgb(255, 255, 255));
    // The letter alone: what the item's text lights beyond the text before it.
    Surface* scratch = CreateSurface(200, 20, 32);
    auto lettersColumns = [&](const std::string& text) {
        DDClearSurface(scratch, 0);
        DrawTextLeft(scratch, text.c_str(), Rgb(0, 0, 0), Rgb(255, 255, 255), 18, 0);
        return InkColumns(scratch, 0, 19, white);
    };
    for (int32_t i = 0; i < ContextMenuItemCount; ++i) {
        const ContextMenuItem& item = ContextMenuItems[i];
        if (!item.Text) continue;
        const PopupRect b = ContextMenuItemBox(Menu, i);
        const uint32_t ink = i == 0 ? white : black;
        EXPECT_EQ(ReadPixel(Menu.Canvas, b.X + 1, b.Y + 1) ==
                      MapRgbToPixel(Menu.Canvas, FaceColour),
                  i != 0)
            << "only the first item is highlighted";
        const std::string text = item.Text;
        std::set<int32_t> letter = lettersColumns(text.substr(0, item.AccessKey + 1));
        for (int32_t c : lettersColumns(text.substr(0, item.AccessKey))) letter.erase(c);
        const std::set<int32_t> underline =
            InkColumns(Menu.Canvas, b.Y + 2 + Menu.Font.Height, b.Y + 2 + Menu.Font.Height, ink);
        ASSERT_FALSE(letter.empty()) << text;
        EXPECT_LE(*underline.begin(), *letter.begin()) << text;
        EXPECT_GE(*underline.rbegin(), *letter.rbegin()) << text;
        EXPECT_LT(underline.size(), letter.size() + 3) << text;
    }
    DestroySurface(scratch);
}

} // namespace
