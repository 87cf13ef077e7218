// The desktop window's geometry: which scale a window opens at, where the picture lands in
// any window, and which parts of the picture a frame changed.
#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

#include "shell/sdl/sdl_desktop.h"

static std::tuple<int, int, int, int, int> Layout(int32_t w, int32_t h) {
    PictureLayout l = LayOutPicture(w, h);
    return {l.Scale, l.Picture.x, l.Picture.y, l.Picture.w, l.Picture.h};
}

TEST(WindowLayout, PictureTakesTheLargestWholeScaleCentredWithBorders) {
    EXPECT_EQ(Layout(400, 300), std::tuple(1, 0, 0, 400, 300));
    EXPECT_EQ(Layout(800, 600), std::tuple(2, 0, 0, 800, 600));
    EXPECT_EQ(Layout(2000, 1500), std::tuple(5, 0, 0, 2000, 1500));
    EXPECT_EQ(Layout(1000, 700), std::tuple(2, 100, 50, 800, 600));
    EXPECT_EQ(Layout(1920, 1080), std::tuple(3, 360, 90, 1200, 900)); // full screen
    EXPECT_EQ(Layout(799, 1200), std::tuple(1, 199, 450, 400, 300));  // the narrow side rules
    EXPECT_EQ(Layout(1600, 1200),
              std::tuple(4, 0, 0, 1600, 1200)); // an 800x600 window at 2x density
    // Smaller than the picture for a moment (the size is put back): still 1x, centred.
    EXPECT_EQ(Layout(399, 299), std::tuple(1, 0, 0, 400, 300));
    EXPECT_EQ(Layout(300, 200), std::tuple(1, -50, -50, 400, 300));
}

TEST(WindowLayout, NewWindowFillsAboutFourFifthsOfTheUsableArea) {
    EXPECT_EQ(DefaultWindowScale(1366, 768, 1), 1);
    EXPECT_EQ(DefaultWindowScale(1366, 741, 1), 1); // under a top panel
    EXPECT_EQ(DefaultWindowScale(1920, 1080, 1), 2);
    EXPECT_EQ(DefaultWindowScale(1920, 1053, 1), 2);
    EXPECT_EQ(DefaultWindowScale(2560, 1440, 1), 3);
    EXPECT_EQ(DefaultWindowScale(3840, 2160, 1), 5);
    EXPECT_EQ(DefaultWindowScale(2160, 3840, 1), 4); // a portrait display: the width rules
    EXPECT_EQ(DefaultWindowScale(640, 480, 1), 1);   // smaller than any window: still 1x
    EXPECT_EQ(DefaultWindowScale(0, 0, 0), 1);
    // A display's DPI is a lower bound, but the window never outgrows the usable area.
    EXPECT_EQ(DefaultWindowScale(1920, 1080, 3), 3);
    EXPECT_EQ(DefaultWindowScale(1366, 768, 2), 2);
    EXPECT_EQ(DefaultWindowScale(1366, 768, 4), 2);
    EXPECT_EQ(LargestWindowScale(1920, 1080), 3);
    EXPECT_EQ(LargestWindowScale(100000, 100000), MaxWindowScale);
}

TEST(WindowLayout, ChangedAreasCoverEveryChangedPixelAndLittleElse) {
    std::vector<uint32_t> shown(400 * 300, 0), frame = shown;
    SDL_Rect areas[ChangedAreasMax];
    EXPECT_EQ(FindChangedAreas(shown.data(), frame.data(), areas), 0);

    frame[157 * 400 + 63] = 7; // one pixel: its tile's columns, its own row
    ASSERT_EQ(FindChangedAreas(shown.data(), frame.data(), areas), 1);
    EXPECT_EQ(std::tuple(areas[0].x, areas[0].y, areas[0].w, areas[0].h),
              std::tuple(50, 157, 25, 1));

    frame[145 * 400 + 399] = 7; // same band, far right, earlier row: a second area
    frame[151 * 400 + 75] = 7;  // the tile next to the first: they join
    ASSERT_EQ(FindChangedAreas(shown.data(), frame.data(), areas), 2);
    EXPECT_EQ(std::tuple(areas[0].x, areas[0].y, areas[0].w, areas[0].h),
              std::tuple(50, 145, 50, 13));
    EXPECT_EQ(std::tuple(areas[1].x, areas[1].y, areas[1].w, areas[1].h),
              std::tuple(375, 145, 25, 13));

    // Random changes anywhere: every changed pixel lies in an area, and the areas never
    // hold more than the tiles the changes touched.
    std::mt19937 random(12);
    for (int round = 0; round < 50; ++round) {
        frame = shown;
        int changes = round % 10 == 0 ? 40000 : static_cast<int>(random() % 60);
        for (int i = 0; i < changes; ++i) frame[random() % frame.size()] ^= 1 + random() % 255;
        int32_t count = FindChangedAreas(shown.data(), frame.data(), areas);
        ASSERT_LE(count, ChangedAreasMax);
        std::vector<int> covered(frame.size(), 0);
        int64_t area = 0;
        for (int32_t i = 0; i < count; ++i) {
            const SDL_Rect& a = areas[i];
            ASSERT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.w <= 400 && a.y + a.h <= 300);
            for (int y = a.y; y < a.y + a.h; ++y)
                for (int x = a.x; x < a.x + a.w; ++x) covered[y * 400 + x] += 1;
            area += static_cast<int64_t>(a.w) * a.h;
        }
        for (size_t p = 0; p < frame.size(); ++p) {
            ASSERT_LE(covered[p], 1) << "areas overlap at " << p;
            if (frame[p] != shown[p]) {
                ASSERT_EQ(covered[p], 1) << "missed pixel " << p;
            }
        }
        EXPECT_LE(area, static_cast<int64_t>(changes) * ChangeTileColumns * ChangeBandRows);
    }
}
