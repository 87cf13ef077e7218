// The glyph table built into the program against the glyphs FreeType makes of the same face
// at run time: the builds without FreeType must draw exactly the desktop build's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/font_raster.h"
#include "display/software/surface.h"
#include "display/software/text.h"
#include "display/status.h"
#include "game/game_record.h"
#include "shell/dialogs.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

using DrawText = decltype(&DrawTextLeft);

struct Placed {
    std::string Text;
    DrawText Draw;
    int32_t X, Y;
};

// BackBuffer after drawing the texts, with the built-in glyphs or with others put in.
std::vector<uint8_t> Picture(const std::vector<Placed>& texts, const GlyphFont* instead) {
    DDClearSurface(BackBuffer, 0);
    SetTextFont(BackBuffer, GameTextFace, GameTextTenths);
    if (instead) UseTextGlyphs(instead);
    for (const Placed& t : texts)
        t.Draw(BackBuffer, t.Text.c_str(), Rgb(40, 40, 90), Rgb(255, 255, 0), t.X, t.Y);
    return BackBuffer->Pixels;
}

// Pixels in the text colour.
int32_t LitPixels(const std::vector<uint8_t>& picture) {
    const uint32_t ink = MapRgbToPixel(BackBuffer, Rgb(255, 255, 0));
    int32_t lit = 0;
    for (size_t i = 0; i + 4 <= picture.size(); i += 4)
        lit +=
            static_cast<uint32_t>(picture[i] | picture[i + 1] << 8 | picture[i + 2] << 16) == ink;
    return lit;
}

class GlyphTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetWorld(32);
        ASSERT_TRUE(RasteriseFont(GameTextFace, GlyphTablePixelHeight, &FreeType));
    }
    RasterisedFont FreeType;
};

TEST_F(GlyphTableTest, IsTheGameFaceAndDrawsEveryByteAsFreeTypeDoes) {
    EXPECT_EQ(GlyphTablePixelHeight, TextPixelHeight(GameTextTenths));
    EXPECT_EQ(std::string(GlyphTableFace), GameTextFace);
    EXPECT_EQ(GlyphTable.Ascent, FreeType.Font.Ascent);
    EXPECT_EQ(GlyphTable.Descent, FreeType.Font.Descent);
    // Every byte but the terminating zero, each alone in a cell of a 16 x 16 grid.
    std::vector<Placed> each;
    for (int32_t code = 1; code < 256; ++code)
        each.push_back({std::string(1, static_cast<char>(code)), DrawTextLeft, 4 + 24 * (code % 16),
                        2 + 18 * (code / 16)});
    const auto table = Picture(each, nullptr);
    EXPECT_GT(LitPixels(table), 255 * 8); // the table's glyphs are there at all
    const auto freeType = Picture(each, &FreeType.Font);
    for (int32_t code = 1; code < 256; ++code) {
        const GlyphImage &a = GlyphTable.Glyphs[code], &b = FreeType.Font.Glyphs[code];
        EXPECT_EQ(a.Advance, b.Advance) << code;
        EXPECT_EQ(a.Extent, b.Extent) << code;
        // The cell's rows, byte for byte.
        const Placed& at = each[code - 1];
        for (int32_t y = at.Y; y < at.Y + 18 && y < 300; ++y) {
            const size_t row = static_cast<size_t>(y) * BackBuffer->Pitch + at.X * 4;
            ASSERT_TRUE(std::equal(table.begin() + row, table.begin() + row + 24 * 4,
                                   freeType.begin() + row))
                << "byte " << code << ", row " << y - at.Y;
        }
    }
}

TEST_F(GlyphTableTest, DrawsTheGamesOwnTextsAsFreeTypeDoesAtEveryAlignment) {
    std::vector<std::string> texts = {"Lives : 03",
                                      "Reversals : 12",
                                      "Level : 07",
                                      "Enemy : 15",
                                      "%Complete : 75",
                                      "Score : 012345",
                                      TitleWebAddress,
                                      "Press SPACE To Start",
                                      "V1.05",
                                      "58",
                                      "Congratulations!",
                                      "Completion Bonus = 7 x 400",
                                      "Total : 2800",
                                      "Hit Space To Continue"};
    for (const HighScoreEntry& entry : Game.HighScoreTable) texts.push_back(entry.Name);
    for (int32_t id : {AboutDialogId, OptionsDialogId, NameDialogId}) {
        const DialogTemplate* t = FindDialogTemplate(id);
        texts.push_back(t->Caption);
        for (const DialogControl& c : std::span(t->Controls, t->ControlCount))
            if (*c.Text) texts.push_back(c.Text);
    }
    // A name as a settings file may hold it: any byte at all.
    std::string everyByte;
    for (int32_t code = 0x80; code < 0x100; code += 3) everyByte += static_cast<char>(code);
    texts.push_back(everyByte);

    for (DrawText draw : {DrawTextLeft, DrawTextRight, DrawTextCentred}) {
        std::vector<Placed> page;
        const int32_t x = draw == DrawTextLeft ? 1 : draw == DrawTextRight ? 399 : 200;
        for (size_t i = 0; i < texts.size(); ++i)
            page.push_back({texts[i], draw, x, static_cast<int32_t>(i % 22) * 13 + 7 * (i >= 22)});
        const auto table = Picture(page, nullptr);
        EXPECT_GT(LitPixels(table), 2000);
        EXPECT_TRUE(table == Picture(page, &FreeType.Font))
            << (draw == DrawTextLeft    ? "left"
                : draw == DrawTextRight ? "right"
                                        : "centred");
    }
}

TEST_F(GlyphTableTest, HasNoOtherFaceOrSizeAndSaysSoOnce) {
    const std::vector<Placed> line = {{"Score : 000100", DrawTextLeft, 0, 0}};
    SetTextFont(BackBuffer, "ARIAL", GameTextTenths); // a face name in any case
    DrawTextLeft(BackBuffer, "Score : 000100", 0, Rgb(255, 255, 0), 0, 0);
    EXPECT_GT(LitPixels(BackBuffer->Pixels), 50);
    for (auto [face, tenths] : {std::pair{GameTextFace, 100}, {"Courier", GameTextTenths}}) {
        DDClearSurface(BackBuffer, 0);
        SetTextFont(BackBuffer, face, tenths);
        DrawTextLeft(BackBuffer, "Score : 000100", 0, Rgb(255, 255, 0), 0, 0);
        EXPECT_EQ(LitPixels(BackBuffer->Pixels), 0) << face << ' ' << tenths;
        EXPECT_EQ(TextWidth("Score"), 0);
    }
    EXPECT_EQ(Headless.DebugLines, std::vector<std::string>{"SetTextFont: no font for Arial.\n"});
    EXPECT_EQ(Picture(line, nullptr), Picture(line, &FreeType.Font)); // back to the game's own
}

} // namespace
