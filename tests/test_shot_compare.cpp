#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ddprobe/palette_grid.h"
#include "tools/shotcompare/shot_compare.h"

namespace {

Picture Blank(int32_t width = 40, int32_t height = 30) {
    Picture p;
    p.Width = width;
    p.Height = height;
    p.Rgb.assign(static_cast<size_t>(width) * height, 0);
    return p;
}

void Put(Picture& p, int32_t x, int32_t y, uint32_t rgb, int32_t size = 1) {
    for (int32_t dy = 0; dy < size; ++dy)
        for (int32_t dx = 0; dx < size; ++dx) p.Rgb[(y + dy) * p.Width + x + dx] = rgb;
}

// A screen with a frame line and a text pixel: what both builds draw alike.
Picture Screen() {
    Picture p = Blank();
    for (int32_t x = 0; x < 40; ++x) Put(p, x, 0, 0x0000ff);
    Put(p, 10, 10, 0xc86464);
    return p;
}

TEST(ShotCompare, MovingObjectsAreLeftOutAndEveryStaticDifferenceIsNamed) {
    // Each side's balls are elsewhere in each of its two pictures, and the two sides' balls
    // are nowhere near each other.
    std::vector<Picture> onLinux(2, Screen()), onWindows(2, Screen());
    Put(onLinux[0], 20, 20, 0xffffff, 2);
    Put(onLinux[1], 22, 18, 0xffffff, 2);
    Put(onWindows[0], 30, 5, 0x00ff00, 2);
    Put(onWindows[1], 32, 7, 0x00ff00, 2);
    Comparison c = ComparePictures(onLinux, onWindows, {});
    EXPECT_TRUE(c.Error.empty());
    EXPECT_TRUE(c.Differences.empty()) << DescribeDifferences(c, 0);
    EXPECT_EQ(c.Moving, 16);
    EXPECT_EQ(c.Compared, 40 * 30 - 16);
    EXPECT_EQ(c.LitCompared, 41);

    // A frame pixel missing and a text pixel one column over, in every Windows picture.
    for (Picture& w : onWindows) {
        Put(w, 39, 0, 0);
        Put(w, 10, 10, 0);
        Put(w, 11, 10, 0xc86464);
    }
    c = ComparePictures(onLinux, onWindows, {});
    EXPECT_EQ(DescribeDifferences(c, 0), "39,0: linux #0000ff, windows #000000\n"
                                         "10,10: linux #c86464, windows #000000\n"
                                         "11,10: linux #000000, windows #c86464\n");

    // Skipped areas are not compared.
    CompareRules rules;
    rules.Skip = {{10, 10, 2, 1}};
    c = ComparePictures(onLinux, onWindows, rules);
    EXPECT_EQ(c.Skipped, 2);
    ASSERT_EQ(c.Differences.size(), 1u);
    EXPECT_EQ(c.Differences[0].X, 39);
}

TEST(ShotCompare, AnEightBitDesktopIsComparedThroughTheColoursItShows) {
    CompareRules rules;
    CubePalette(rules.Palette);
    // The 3-3-2 cube: entry 19 is (0, 145, 255), entry 255 white.
    EXPECT_EQ(rules.Palette[19], 0x0091ffu);
    EXPECT_EQ(rules.Palette[255], 0xffffffu);
    // A desktop that shows entry 19 as teal and everything else as drawn.
    for (int32_t i = 0; i < 256; ++i) rules.Shown[i] = rules.Palette[i];
    rules.Shown[19] = 0x008080;
    rules.Mapped = 1;
    Picture onLinux = Blank(), onWindows = Blank();
    Put(onLinux, 5, 5, 0x0091ff);
    Put(onWindows, 5, 5, 0x008080);
    Put(onLinux, 6, 5, 0xffffff);
    Put(onWindows, 6, 5, 0xffffff);
    Comparison c = ComparePictures({onLinux}, {onWindows}, rules);
    EXPECT_TRUE(c.Differences.empty()) << DescribeDifferences(c, 1);
    // The colour as drawn is not what the desktop shows for that entry.
    Put(onWindows, 5, 5, 0x0091ff);
    c = ComparePictures({onLinux}, {onWindows}, rules);
    EXPECT_EQ(DescribeDifferences(c, 1), "5,5: linux #0091ff, windows #0091ff (wanted #008080)\n");
    // A Linux colour outside the palette cannot be an 8-bit display's.
    Put(onLinux, 7, 5, 0x123456);
    EXPECT_NE(ComparePictures({onLinux}, {onWindows}, rules).Error, "");
}

TEST(ShotCompare, TheShownColoursAreReadFromTheMiddleOfEachGridCell) {
    Picture grid = Blank(400, 300);
    for (int32_t entry = 0; entry < 256; ++entry)
        Put(grid, (entry % PaletteGridColumns) * PaletteGridCell,
            (entry / PaletteGridColumns) * PaletteGridCell, 0x010000u * entry + 7, PaletteGridCell);
    uint32_t shown[256];
    ASSERT_TRUE(ShownColoursFromGrid(grid, shown));
    for (int32_t entry : {0, 17, 255}) EXPECT_EQ(shown[entry], 0x010000u * entry + 7);
    EXPECT_FALSE(ShownColoursFromGrid(Blank(100, 100), shown));
    // Pictures of different sizes are not compared.
    EXPECT_NE(ComparePictures({Blank()}, {Blank(400, 300)}, {}).Error, "");
}

} // namespace
