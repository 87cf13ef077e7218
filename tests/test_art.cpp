#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/art.h"
#include "display/software/result_codes.h"
#include "display/software/surface.h"
#include "resources/resources.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"
#include "tools/resgen/dib_encode.h"

namespace {

DecodedBitmap Embedded(int32_t id) {
    DecodedBitmap b;
    EXPECT_EQ(LoadBitmapById(id, &b), 1) << id;
    return b;
}

class Art : public ::testing::TestWithParam<int32_t> {
  protected:
    void SetUp() override {
        ResetWorld(GetParam());
        ArtFileDirectory = PrivateTempDir("art-none");
    }
    void TearDown() override {
        ReleaseSoftwareDisplay();
        ArtFileDirectory.clear();
        TitleArtId = 111, GameOverArtId = 113, OhNoArtId = 118, LetsGoArtId = 119;
    }
};

INSTANTIATE_TEST_SUITE_P(AllDepths, Art, ::testing::Values(8, 16, 24, 32));

TEST_P(Art, LoadsTheFourSurfacesKeyedAtTheDisplayDepth) {
    ASSERT_EQ(LoadGameArt(), 1);
    const std::pair<Surface*, int32_t> art[] = {
        {TitleSurface, 111}, {GameOverSurface, 113}, {OhNoSurface, 118}, {LetsGoSurface, 119}};
    for (const auto& [surface, id] : art) {
        SCOPED_TRACE(id);
        ASSERT_NE(surface, nullptr);
        DecodedBitmap b = Embedded(id);
        EXPECT_EQ(surface->Width, b.Width);
        EXPECT_EQ(surface->Height, b.Height);
        EXPECT_EQ(surface->BitsPerPixel, GetParam());
        EXPECT_EQ(surface->HasColourKey, 1);
        // Background raw 0 exactly where the bitmap has index 0, the converted colour elsewhere.
        int32_t wrong = 0;
        for (int32_t y = 0; y < b.Height; ++y)
            for (int32_t x = 0; x < b.Width; ++x) {
                uint8_t index = b.Indices[y * b.Width + x];
                uint32_t pixel = ReadPixel(surface, x, y);
                uint32_t want = index ? MapRgbToPixel(surface, b.Colours[index]) : 0;
                wrong += pixel != want || (index != 0) != (pixel != 0);
            }
        EXPECT_EQ(wrong, 0);
    }
}

TEST_P(Art, WritesItsLinesInOrder) {
    ASSERT_EQ(LoadGameArt(), 1);
    std::vector<std::string> expected;
    if (GetParam() == 8)
        expected = {"LoadGameArt: Attaching palette...\n", "LoadGameArt: Art loaded.\n"};
    else
        expected = {"LoadGameArt: Non-palettized primary...\n", "LoadGameArt: Art loaded.\n"};
    EXPECT_EQ(Headless.DebugLines, expected);
}

TEST_P(Art, ABannerWithItsColourKeyLeavesTheScreenAloneWhereItIsZero) {
    ASSERT_EQ(LoadGameArt(), 1);
    // A busy screen, so that any overwrite shows.
    for (int32_t y = 0; y < ScreenHeight; ++y)
        for (int32_t x = 0; x < ScreenWidth; ++x)
            WritePixel(BackBuffer, x, y, MapRgbToPixel(BackBuffer, Rgb(x % 200 + 20, y % 250, 90)));
    Surface before = *BackBuffer;
    ASSERT_EQ(DrawArt(BackBuffer, OhNoSurface, 98, 156, 1), SurfaceOk);
    int32_t kept = 0, changedWrongly = 0;
    for (int32_t y = 0; y < OhNoSurface->Height; ++y)
        for (int32_t x = 0; x < OhNoSurface->Width; ++x) {
            uint32_t art = ReadPixel(OhNoSurface, x, y);
            uint32_t now = ReadPixel(BackBuffer, 98 + x, 156 + y);
            uint32_t old = ReadPixel(&before, 98 + x, 156 + y);
            if (art == 0)
                changedWrongly += now != old, ++kept;
            else
                changedWrongly += now != art;
        }
    EXPECT_GT(kept, 0);
    EXPECT_EQ(changedWrongly, 0);
    EXPECT_EQ(ReadPixel(BackBuffer, 97, 156), ReadPixel(&before, 97, 156));
}

TEST_P(Art, RestoringAnArtSpriteCopiesTheBitmapAgain) {
    ASSERT_EQ(LoadGameArt(), 1);
    Surface original = *TitleSurface;
    DDClearSurface(TitleSurface, MapRgbToPixel(TitleSurface, Rgb(9, 200, 9)));
    EXPECT_EQ(RestoreArtSprite(&TitleArt, TitleArtId), 1);
    EXPECT_EQ(TitleSurface->Pixels, original.Pixels);
    EXPECT_EQ(RestoreArtSprite(&TitleArt, 4242), 0); // no such bitmap
    ReleaseSoftwareDisplay();
    EXPECT_EQ(RestoreArtSprite(&TitleArt, TitleArtId), SurfaceMissing);
}

TEST(ArtLoading, StopsAtTheFirstSpriteThatFails) {
    ResetWorld(32);
    OhNoArtId = 4242;
    EXPECT_EQ(LoadGameArt(), 0);
    OhNoArtId = 118;
    EXPECT_NE(TitleSurface, nullptr);
    EXPECT_NE(GameOverSurface, nullptr);
    EXPECT_EQ(OhNoSurface, nullptr);
    EXPECT_EQ(LetsGoSurface, nullptr);
    std::vector<std::string> expected = {"LoadGameArt: Non-palettized primary...\n",
                                         "Couldn't create art surface.\n",
                                         "LoadGameArt: Couldn't load Oh No sprite.\n"};
    EXPECT_EQ(Headless.DebugLines, expected);

    ResetWorld(32);
    TitleArtId = 4242;
    EXPECT_EQ(LoadGameArt(), 0);
    TitleArtId = 111;
    EXPECT_EQ(Headless.DebugLines.back(), "LoadGameArt: Couldn't load Title Page sprite.\n");
    EXPECT_EQ(GameOverSurface, nullptr);
    ReleaseSoftwareDisplay();
    EXPECT_EQ(LoadGameArt(), 0); // no display at all
}

TEST(ArtLoading, FallsBackToABitmapFileOfThatName) {
    ResetWorld(32);
    const std::filesystem::path dir = PrivateTempDir("art-file");
    std::filesystem::create_directories(dir);
    ArtFileDirectory = dir.string();
    IndexedImage image{3, 2, {1, 0, 2, 2, 1, 0}, {0, Rgb(255, 0, 0), Rgb(0, 0, 255)}};
    std::vector<uint8_t> file = BmpFileFromDib(EncodeDib(image, 4, BitmapRle4));
    std::ofstream((dir / "4242.bmp").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<long>(file.size()));
    Surface* s = LoadBitmapSurface(4242, 0, 0);
    ArtFileDirectory.clear();
    std::filesystem::remove_all(dir);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(ReadPixel(s, 0, 0), MapRgbToPixel(s, Rgb(255, 0, 0)));
    EXPECT_EQ(ReadPixel(s, 1, 0), 0u);
    EXPECT_EQ(ReadPixel(s, 2, 0), MapRgbToPixel(s, Rgb(0, 0, 255)));
    EXPECT_EQ(ReadPixel(s, 2, 1), 0u);
    DestroySurface(s);
    EXPECT_EQ(LoadBitmapSurface(4243, 0, 0), nullptr);
    EXPECT_EQ(ReloadBitmapSurface(BackBuffer, 4243), ArtFailed);
}

TEST(ArtLoading, CopyStretchesTheSourceRectangleOverTheSurface) {
    ResetWorld(32);
    DecodedBitmap b;
    b.Width = 4;
    b.Height = 2;
    b.BitsPerPixel = 8;
    b.Colours.assign(256, 0);
    b.Colours[1] = Rgb(10, 20, 30);
    b.Colours[2] = Rgb(200, 100, 50);
    b.Indices = {0, 1, 2, 0, 2, 2, 1, 1};
    Surface* s = CreateSurface(4, 4, 32);
    // The 2x2 block at (1, 0) doubled in each direction.
    ASSERT_EQ(CopyBitmapToSurface(s, &b, 1, 0, 2, 2), SurfaceOk);
    const uint32_t one = MapRgbToPixel(s, b.Colours[1]), two = MapRgbToPixel(s, b.Colours[2]);
    EXPECT_EQ(ReadPixel(s, 0, 0), one);
    EXPECT_EQ(ReadPixel(s, 1, 1), one);
    EXPECT_EQ(ReadPixel(s, 2, 0), two);
    EXPECT_EQ(ReadPixel(s, 0, 2), two);
    EXPECT_EQ(ReadPixel(s, 3, 3), one);
    EXPECT_EQ(CopyBitmapToSurface(s, &b, 3, 0, 2, 2), ArtFailed); // outside the bitmap
    EXPECT_EQ(CopyBitmapToSurface(nullptr, &b, 0, 0, 0, 0), ArtFailed);
    EXPECT_EQ(CopyBitmapToSurface(s, nullptr, 0, 0, 0, 0), ArtFailed);
    DestroySurface(s);
}

TEST(ArtLoading, DialogPicturesDecodeToSurfacesOfAnyDepth) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(FindBitmapResource(120, &data, &size), 1);
    Surface* s = DecodeBitmapToSurface(data, size, 32);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->Width, 152);
    EXPECT_EQ(s->Height, 46);
    EXPECT_EQ(ReadPixel(s, 0, 0), 0u);
    DestroySurface(s);
    EXPECT_EQ(DecodeBitmapToSurface(data, 30, 32), nullptr);
}

} // namespace
