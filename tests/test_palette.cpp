#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/art.h"
#include "display/software/surface.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

// A palette file: file header, information header with the given fields, then entries
// i -> (blue i, green 255 - i, red i ^ 0x55, reserved 7), cut to `size` bytes.
std::vector<uint8_t> PaletteFile(uint32_t headerSize, uint16_t bpp, uint32_t coloursUsed,
                                 size_t size = 1078) {
    std::vector<uint8_t> f(1078, 0);
    f[0] = 'B', f[1] = 'M';
    for (int32_t i = 0; i < 4; ++i) {
        f[14 + i] = static_cast<uint8_t>(headerSize >> (8 * i));
        f[46 + i] = static_cast<uint8_t>(coloursUsed >> (8 * i));
    }
    f[28] = static_cast<uint8_t>(bpp), f[29] = static_cast<uint8_t>(bpp >> 8);
    for (int32_t i = 0; i < 256; ++i) {
        f[54 + 4 * i] = static_cast<uint8_t>(i);
        f[55 + 4 * i] = static_cast<uint8_t>(255 - i);
        f[56 + 4 * i] = static_cast<uint8_t>(i ^ 0x55);
        f[57 + 4 * i] = 7;
    }
    f.resize(size);
    return f;
}

class PaletteFileTest : public ::testing::Test {
  protected:
    std::filesystem::path Dir = PrivateTempDir("palette");
    void SetUp() override {
        std::filesystem::remove_all(Dir);
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override {
        std::filesystem::remove_all(Dir);
        ArtFileDirectory.clear();
    }
    std::string Write(const std::vector<uint8_t>& bytes) {
        std::string path = (Dir / "Quorvanel.bmp").string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
        return path;
    }
    // Entry i as the file stores it, with red and blue exchanged or not.
    static void ExpectFromFile(const PaletteEntry& e, int32_t i, bool exchanged) {
        uint8_t first = static_cast<uint8_t>(i), third = static_cast<uint8_t>(i ^ 0x55);
        EXPECT_EQ(e.Red, exchanged ? third : first) << "entry " << i;
        EXPECT_EQ(e.Green, 255 - i) << "entry " << i;
        EXPECT_EQ(e.Blue, exchanged ? first : third) << "entry " << i;
        EXPECT_EQ(e.Flags, 7) << "entry " << i;
    }
    static void ExpectCube(const PaletteEntry* p) {
        PaletteEntry cube[256];
        SetDefaultPalette(cube);
        for (int32_t i = 0; i < 256; ++i) {
            EXPECT_EQ(p[i].Red, cube[i].Red) << i;
            EXPECT_EQ(p[i].Green, cube[i].Green) << i;
            EXPECT_EQ(p[i].Blue, cube[i].Blue) << i;
        }
    }
};

TEST_F(PaletteFileTest, WithoutAFileTheColourCubeIsUsed) {
    PaletteEntry p[256];
    LoadBitmapPalette(p, (Dir / "Quorvanel.bmp").string().c_str());
    EXPECT_EQ(p[0].Red + p[0].Green + p[0].Blue, 0);
    EXPECT_EQ(p[255].Red & p[255].Green & p[255].Blue, 255);
    EXPECT_EQ(p[28].Red, 0);
    EXPECT_EQ(p[28].Green, 255);
    EXPECT_EQ(p[28].Blue, 0);
    ExpectCube(p);
    LoadBitmapPalette(p, nullptr);
    ExpectCube(p);
}

TEST_F(PaletteFileTest, AFullEightBitHeaderExchangesRedAndBlueOfAllEntries) {
    PaletteEntry p[256];
    LoadBitmapPalette(p, Write(PaletteFile(40, 8, 0)).c_str());
    for (int32_t i = 0; i < 256; ++i) ExpectFromFile(p[i], i, true);
}

TEST_F(PaletteFileTest, ColoursUsedLimitsTheExchange) {
    PaletteEntry p[256];
    LoadBitmapPalette(p, Write(PaletteFile(40, 8, 16)).c_str());
    for (int32_t i = 0; i < 256; ++i) ExpectFromFile(p[i], i, i < 16);
    LoadBitmapPalette(p, Write(PaletteFile(40, 4, 0)).c_str()); // 2^4
    for (int32_t i = 0; i < 256; ++i) ExpectFromFile(p[i], i, i < 16);
    LoadBitmapPalette(p, Write(PaletteFile(40, 8, 100000)).c_str()); // bounded by 256
    for (int32_t i = 0; i < 256; ++i) ExpectFromFile(p[i], i, true);
}

TEST_F(PaletteFileTest, OtherHeadersGiveTheBytesAsRead) {
    PaletteEntry p[256];
    for (uint32_t size : {12u, 39u, 108u, 124u}) {
        LoadBitmapPalette(p, Write(PaletteFile(size, 8, 0)).c_str());
        for (int32_t i = 0; i < 256; ++i) ExpectFromFile(p[i], i, false);
    }
    LoadBitmapPalette(p, Write(PaletteFile(40, 16, 0)).c_str()); // not a palette depth
    for (int32_t i = 0; i < 256; ++i) ExpectFromFile(p[i], i, false);
}

// Bytes the file lacks keep their defaults, and the exchange of red and blue still covers
// the first n entries, defaults and all.
TEST_F(PaletteFileTest, AShortFileKeepsTheDefaultsItDoesNotReach) {
    PaletteEntry cube[256];
    SetDefaultPalette(cube);
    PaletteEntry p[256];
    LoadBitmapPalette(p, Write(PaletteFile(40, 8, 0, 0)).c_str());
    ExpectCube(p);
    // The header's size and depth are there, the entries are not.
    LoadBitmapPalette(p, Write(PaletteFile(40, 8, 0, 30)).c_str());
    for (int32_t i = 0; i < 256; ++i) {
        EXPECT_EQ(p[i].Red, cube[i].Blue) << i;
        EXPECT_EQ(p[i].Green, cube[i].Green) << i;
        EXPECT_EQ(p[i].Blue, cube[i].Red) << i;
    }
    // 100 whole entries and half of the next.
    LoadBitmapPalette(p, Write(PaletteFile(40, 8, 0, 54 + 402)).c_str());
    for (int32_t i = 0; i < 100; ++i) ExpectFromFile(p[i], i, true);
    EXPECT_EQ(p[100].Blue, 100); // the two bytes that are there, exchanged into place
    EXPECT_EQ(p[100].Green, 155);
    EXPECT_EQ(p[100].Red, cube[100].Blue);
    for (int32_t i = 101; i < 256; ++i) {
        EXPECT_EQ(p[i].Red, cube[i].Blue) << i;
        EXPECT_EQ(p[i].Blue, cube[i].Red) << i;
    }
}

TEST_F(PaletteFileTest, AnEightBitDisplayTakesThePaletteFromTheArtDirectory) {
    ResetWorld(8);
    Write(PaletteFile(40, 8, 0));
    ArtFileDirectory = Dir.string();
    ASSERT_EQ(LoadGameArt(), 1);
    for (int32_t i = 0; i < 256; ++i) ExpectFromFile(DisplayPalette[i], i, true);
    // The art was matched against that palette, not the cube.
    DecodedBitmap b;
    ASSERT_EQ(LoadBitmapById(118, &b), 1);
    // Nearest entry of the file's palette, worked out here from the file's own formula.
    auto nearest = [](uint32_t rgb) {
        int32_t best = 0, bestDistance = 1 << 30;
        for (int32_t i = 0; i < 256; ++i) {
            int32_t dr = (i ^ 0x55) - static_cast<int32_t>(rgb & 255);
            int32_t dg = (255 - i) - static_cast<int32_t>((rgb >> 8) & 255);
            int32_t db = i - static_cast<int32_t>(rgb >> 16);
            int32_t d = dr * dr + dg * dg + db * db;
            if (d < bestDistance) best = i, bestDistance = d;
        }
        return static_cast<uint32_t>(best);
    };
    int32_t checked = 0;
    for (int32_t x = 0; x < b.Width; ++x) {
        uint8_t index = b.Indices[18 * b.Width + x];
        if (!index) continue;
        EXPECT_EQ(ReadPixel(OhNoSurface, x, 18), nearest(b.Colours[index])) << x;
        ++checked;
    }
    EXPECT_GT(checked, 0);
    ReleaseSoftwareDisplay();
    // At 32 bits no palette is attached.
    ResetWorld(32);
    ASSERT_EQ(LoadGameArt(), 1);
    ExpectCube(DisplayPalette);
    ReleaseSoftwareDisplay();
}

} // namespace
