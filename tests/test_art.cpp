#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "display/draw.h"
#include "display/software/art.h"
#include "display/software/result_codes.h"
#include "display/software/surface.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

// The art in loading order: its surface, the global naming its bitmap, that bitmap, and the
// sprite's name in the failure line.
Surface** const Sprites[] = {&TitleSurface, &GameOverSurface, &OhNoSurface, &LetsGoSurface};
int32_t* const Ids[] = {&TitleArtId, &GameOverArtId, &OhNoArtId, &LetsGoArtId};
const int32_t Bitmaps[] = {111, 113, 118, 119};
const char* const Names[] = {"Title Page", "GameOver", "Oh No", "Lets Go"};

class Art : public ::testing::TestWithParam<int32_t> {
  protected:
    void SetUp() override { ResetWorld(GetParam()); }
    void TearDown() override { ReleaseSoftwareDisplay(); }
    // The lines LoadGameArt writes: the one for the display's depth, then the rest.
    std::vector<std::string> Lines(std::vector<std::string> rest) const {
        rest.insert(rest.begin(), GetParam() == 8 ? "LoadGameArt: Attaching palette...\n"
                                                  : "LoadGameArt: Non-palettized primary...\n");
        return rest;
    }
};

INSTANTIATE_TEST_SUITE_P(AllDepths, Art, ::testing::Values(8, 16, 24, 32));

TEST_P(Art, LoadsTheFourPicturesKeyedOnZeroAtTheDisplayDepth) {
    ASSERT_EQ(LoadGameArt(), 1);
    EXPECT_EQ(Headless.DebugLines, Lines({"LoadGameArt: Art loaded.\n"}));
    for (int32_t k = 0; k < 4; ++k) {
        const Surface* s = *Sprites[k];
        DecodedBitmap b;
        ASSERT_EQ(LoadBitmapById(Bitmaps[k], &b), 1);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ((std::array{s->Width, s->Height, s->BitsPerPixel, s->HasColourKey}),
                  (std::array{b.Width, b.Height, GetParam(), 1}));
        int32_t wrong = 0;
        for (int32_t i = 0; i < b.Width * b.Height; ++i)
            wrong +=
                ReadPixel(s, i % b.Width, i / b.Width) != MapRgbToPixel(s, b.Colours[b.Indices[i]]);
        EXPECT_EQ(wrong, 0) << Bitmaps[k];
    }
}

TEST_P(Art, LoadingStopsAtTheFirstSpriteThatFails) {
    for (int32_t k = 0; k < 4; ++k) {
        ResetWorld(GetParam());
        const int32_t id = std::exchange(*Ids[k], 4242);
        EXPECT_EQ(LoadGameArt(), 0);
        *Ids[k] = id;
        for (int32_t j = 0; j < 4; ++j) EXPECT_EQ(*Sprites[j] != nullptr, j < k) << k << j;
        EXPECT_EQ(Headless.DebugLines,
                  Lines({"Couldn't create art surface.\n",
                         std::string("LoadGameArt: Couldn't load ") + Names[k] + " sprite.\n"}));
    }
}

TEST_P(Art, RestoringASpriteCopiesItsBitmapAgain) {
    ASSERT_EQ(LoadGameArt(), 1);
    const std::vector<uint8_t> original = TitleSurface->Pixels;
    DDClearSurface(TitleSurface, 1);
    EXPECT_EQ(RestoreArtSprite(&TitleArt, 111), 1);
    EXPECT_EQ(TitleSurface->Pixels, original);
    EXPECT_EQ(RestoreArtSprite(&TitleArt, 4242), 0); // no such bitmap
    ReleaseSoftwareDisplay();
    EXPECT_EQ(RestoreArtSprite(&TitleArt, 111), SurfaceMissing);
}

} // namespace
