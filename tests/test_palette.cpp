#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/stat.h>

#include "display/draw.h"
#include "display/software/art.h"
#include "display/software/surface.h"
#include "shell/headless/headless.h"
#include "tests/support/world.h"

namespace {

// Byte i of the entries of the palette files below (stored blue, green, red, reserved 7).
const auto FileByte = [](size_t i) { return static_cast<uint8_t>(i % 4 == 3 ? 7 : i * 37 + 11); };

// Writes "Quorvanel.bmp" with these header fields, cut to `size` bytes; gives its path.
std::string Write(uint32_t header, uint32_t bpp, uint32_t used, size_t size = 1078) {
    std::vector<uint8_t> f(1078, 0);
    for (auto [at, value, bytes] : {std::tuple{14, header, 4}, {28, bpp, 2}, {46, used, 4}})
        for (int32_t i = 0; i < bytes; ++i) f[at + i] = static_cast<uint8_t>(value >> (8 * i));
    for (size_t i = 0; i < 1024; ++i) f[54 + i] = FileByte(i);
    const std::string path = (PrivateTempDir("palette") / "Quorvanel.bmp").string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(f.data()), size);
    return path;
}

std::vector<uint8_t> Bytes(const PaletteEntry* p) {
    return {reinterpret_cast<const uint8_t*>(p), reinterpret_cast<const uint8_t*>(p + 256)};
}

// The cube under the file's first `fromFile` entry bytes, red and blue exchanged in the first n.
std::vector<uint8_t> Expected(size_t fromFile, uint32_t n) {
    PaletteEntry p[256];
    SetDefaultPalette(p);
    for (size_t i = 0; i < fromFile; ++i) reinterpret_cast<uint8_t*>(p)[i] = FileByte(i);
    for (uint32_t i = 0; i < n; ++i) std::swap(p[i].Red, p[i].Blue);
    return Bytes(p);
}

TEST(PaletteFile, TheCubeUnlessAFileGivesTheEntriesWithRedAndBlueExchangedInTheFirstN) {
    PaletteEntry p[256];
    LoadBitmapPalette(p, "/nonexistent/Quorvanel.bmp");
    EXPECT_EQ(Bytes(p), Expected(0, 0));
    EXPECT_EQ(Rgb(p[0].Red, p[0].Green, p[0].Blue), Rgb(0, 0, 0));
    EXPECT_EQ(Rgb(p[255].Red, p[255].Green, p[255].Blue), Rgb(255, 255, 255));
    EXPECT_EQ(Rgb(p[28].Red, p[28].Green, p[28].Blue), Rgb(0, 255, 0));
    // Header size, depth, colours used (past 256 bounded), file size (30: no entries, 456: 100
    // and a half) and how many entries have red and blue exchanged.
    const uint32_t cases[][5] = {
        {40, 8, 0, 1078, 256},      {40, 8, 16, 1078, 16}, {40, 4, 0, 1078, 16},
        {40, 8, 100000, 1078, 256}, {12, 8, 0, 1078, 0},   {108, 8, 0, 1078, 0},
        {40, 16, 0, 1078, 0},       {40, 8, 0, 30, 256},   {40, 8, 0, 456, 256}};
    for (const auto& [header, bpp, used, size, n] : cases) {
        LoadBitmapPalette(p, Write(header, bpp, used, size).c_str());
        EXPECT_EQ(Bytes(p), Expected(size > 54 ? size - 54 : 0, n))
            << header << "/" << bpp << "/" << used << " in " << size << " bytes";
    }
    // The last file's entry 1, stored as 159, 196, 233, 7.
    EXPECT_EQ(Rgb(p[1].Red, p[1].Green, p[1].Blue) | p[1].Flags << 24, 0x079FC4E9u);
    std::filesystem::remove_all(PrivateTempDir("palette"));
}

TEST(PaletteFile, AnEightBitDisplayConvertsItsArtWithThePaletteFromTheArtDirectory) {
    ResetWorld(8);
    ArtFileDirectory = std::filesystem::path(Write(40, 8, 0)).parent_path().string();
    ASSERT_EQ(LoadGameArt(), 1);
    ArtFileDirectory.clear();
    EXPECT_EQ(Bytes(DisplayPalette), Expected(1024, 256));
    // The art was converted after the palette came, as a conversion made now is.
    Surface* now = LoadBitmapSurface(118, 0, 0);
    EXPECT_EQ(now->Pixels, OhNoSurface->Pixels);
    DestroySurface(now);
    std::filesystem::remove_all(PrivateTempDir("palette"));
}

TEST(PaletteFile, OneThatIsNoRegularFileIsSaidAndTheCubeStays) {
    ResetWorld(8);
    const std::string fifo = (PrivateTempDir("palette") / "Quorvanel.bmp").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0); // opened as a file, it would wait for a writer
    PaletteEntry p[256];
    LoadBitmapPalette(p, fifo.c_str());
    EXPECT_EQ(Bytes(p), Expected(0, 0));
    EXPECT_EQ(Headless.DebugLines, std::vector<std::string>{"LoadBitmapPalette: " + fifo +
                                                            " is a FIFO, not a regular file; the "
                                                            "colour cube is used.\n"});
}

TEST(PaletteFile, ReferenceColoursThatCollideAreSaidOnceAndUsedAsSampled) {
    // Every depth tells the fifteen reference colours apart on its own.
    for (int32_t depth : {8, 16, 24, 32}) {
        ResetWorld(depth);
        ASSERT_EQ(LoadGameArt(), 1);
        DrawReferenceColours();
        EXPECT_TRUE(std::none_of(Headless.DebugLines.begin(), Headless.DebugLines.end(),
                                 [](auto& line) { return line.starts_with("SampleColours"); }))
            << depth;
    }
    // A palette file of one colour maps all of them to one entry.
    ResetWorld(8);
    std::vector<char> file(1078, 0);
    file[14] = 40;
    file[28] = 8;
    for (size_t i = 54; i < file.size(); i += 4) file[i] = file[i + 1] = file[i + 2] = 90;
    const auto dir = PrivateTempDir("palette");
    std::ofstream(dir / "Quorvanel.bmp", std::ios::binary).write(file.data(), file.size());
    ArtFileDirectory = dir.string();
    ASSERT_EQ(LoadGameArt(), 1);
    ArtFileDirectory.clear();
    Headless.DebugLines.clear();
    DrawReferenceColours();
    EXPECT_EQ(Headless.DebugLines,
              std::vector<std::string>{"SampleColours: the reference colours are not all "
                                       "distinct (1 of 15); some will look alike.\n"});
    EXPECT_EQ(std::count(ColourTable, ColourTable + 15, ColourTable[0]), 15);
}

} // namespace
