#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/software/bmp.h"
#include "resources/resources.h"
#include "tools/resgen/dib_encode.h"

namespace {

const std::string Suite = QUORVANEL_SOURCE_DIR "/../shared/testdata/bmpsuite";

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Put16(std::vector<uint8_t>& v, uint32_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}

void Put32(std::vector<uint8_t>& v, uint32_t x) {
    Put16(v, x & 0xFFFF);
    Put16(v, x >> 16);
}

// A DIB with a 40-byte header, `colours` grey entries (entry i = i*16) and the given bits.
std::vector<uint8_t> MakeDib(int32_t width, int32_t height, int32_t bpp, uint32_t compression,
                             uint32_t colours, const std::vector<uint8_t>& bits) {
    std::vector<uint8_t> d;
    Put32(d, 40);
    Put32(d, static_cast<uint32_t>(width));
    Put32(d, static_cast<uint32_t>(height));
    Put16(d, 1);
    Put16(d, static_cast<uint32_t>(bpp));
    Put32(d, compression);
    Put32(d, static_cast<uint32_t>(bits.size()));
    Put32(d, 0);
    Put32(d, 0);
    Put32(d, colours);
    Put32(d, 0);
    for (uint32_t i = 0; i < colours; ++i) {
        uint8_t g = static_cast<uint8_t>(i * 16);
        d.insert(d.end(), {g, g, g, 0});
    }
    d.insert(d.end(), bits.begin(), bits.end());
    return d;
}

std::string Rows(const DecodedBitmap& b) {
    std::string s;
    for (int32_t y = 0; y < b.Height; ++y) {
        for (int32_t x = 0; x < b.Width; ++x)
            s += "0123456789ABCDEF"[b.Indices[y * b.Width + x] & 15];
        s += '|';
    }
    return s;
}

// Whatever a decoder accepts must be a consistent picture.
void ExpectConsistent(const DecodedBitmap& b) {
    ASSERT_GT(b.Width, 0);
    ASSERT_GT(b.Height, 0);
    ASSERT_EQ(b.Indices.size(), static_cast<size_t>(b.Width) * b.Height);
    ASSERT_EQ(b.Colours.size(), static_cast<size_t>(1) << b.BitsPerPixel);
    for (uint8_t index : b.Indices) ASSERT_LT(index, b.Colours.size());
}

TEST(BmpSuite, GoodFilesMatchTheirReferencesPixelForPixel) {
    const std::pair<const char*, const char*> cases[] = {
        {"pal1", "pal1"},         {"pal1wb", "pal1"},       {"pal1bg", "pal1bg"},
        {"pal4", "pal4"},         {"pal4rle", "pal4"},      {"pal4gs", "pal4gs"},
        {"pal8", "pal8"},         {"pal8-0", "pal8"},       {"pal8rle", "pal8"},
        {"pal8topdown", "pal8"},  {"pal8os2", "pal8"},      {"pal8v4", "pal8"},
        {"pal8v5", "pal8"},       {"pal8gs", "pal8gs"},     {"pal8w124", "pal8w124"},
        {"pal8w125", "pal8w125"}, {"pal8w126", "pal8w126"}, {"pal8nonsquare", "pal8nonsquare-e"},
    };
    if (!std::filesystem::exists(Suite)) GTEST_SKIP() << "no bitmap corpus at " << Suite;
    for (const auto& [file, reference] : cases) {
        SCOPED_TRACE(file);
        std::vector<uint8_t> bytes = ReadFile(Suite + "/good/" + file + ".bmp");
        ASSERT_FALSE(bytes.empty());
        DecodedBitmap b;
        std::string error;
        ASSERT_EQ(DecodeBmpFile(bytes.data(), bytes.size(), &b, &error), 1) << error;
        ExpectConsistent(b);
        int32_t w = 0, h = 0;
        std::vector<uint8_t> rgba;
        ASSERT_EQ(ReadPngRgba(Suite + "/reference/" + reference + ".png", &w, &h, &rgba), 1);
        ASSERT_EQ(b.Width, w);
        ASSERT_EQ(b.Height, h);
        int32_t wrong = 0;
        for (int32_t i = 0; i < w * h; ++i) {
            uint32_t c = b.Colours[b.Indices[i]];
            uint32_t want = rgba[4 * i] | (rgba[4 * i + 1] << 8) | (rgba[4 * i + 2] << 16);
            wrong += c != want;
        }
        EXPECT_EQ(wrong, 0);
    }
}

TEST(BmpSuite, BadFilesAreRejectedOrClippedSafely) {
    if (!std::filesystem::exists(Suite)) GTEST_SKIP() << "no bitmap corpus at " << Suite;
    int32_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Suite + "/bad")) {
        SCOPED_TRACE(entry.path().filename().string());
        std::vector<uint8_t> bytes = ReadFile(entry.path().string());
        DecodedBitmap b;
        std::string error;
        if (DecodeBmpFile(bytes.data(), bytes.size(), &b, &error))
            ExpectConsistent(b);
        else
            EXPECT_FALSE(error.empty());
        ++files;
    }
    EXPECT_GT(files, 10);
}

TEST(BmpSuite, FilesTheDecoderMustRefuse) {
    if (!std::filesystem::exists(Suite)) GTEST_SKIP() << "no bitmap corpus at " << Suite;
    for (const char* name :
         {"rletopdown", "reallybig", "badplanes", "badbitcount", "shortfile", "badheadersize"}) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = ReadFile(Suite + "/bad/" + name + ".bmp");
        DecodedBitmap b;
        std::string error;
        EXPECT_EQ(DecodeBmpFile(bytes.data(), bytes.size(), &b, &error), 0);
        EXPECT_FALSE(error.empty());
    }
}

TEST(BmpDecoder, PlainRowsAreStoredBottomUpUnlessTheHeightIsNegative) {
    // 3x2 at 8 bits: each row padded to 4 bytes; file row 0 is the bottom row.
    std::vector<uint8_t> bits = {1, 2, 3, 0, 4, 5, 6, 0};
    DecodedBitmap b;
    ASSERT_EQ(DecodeDib(MakeDib(3, 2, 8, BitmapRgb, 16, bits).data(), 40 + 64 + 8, &b, nullptr), 1);
    EXPECT_EQ(Rows(b), "456|123|");
    ASSERT_EQ(DecodeDib(MakeDib(3, -2, 8, BitmapRgb, 16, bits).data(), 40 + 64 + 8, &b, nullptr),
              1);
    EXPECT_EQ(Rows(b), "123|456|");
}

TEST(BmpDecoder, OneAndFourBitPixelsAreTakenHighBitsFirst) {
    DecodedBitmap b;
    auto one = MakeDib(10, 1, 1, BitmapRgb, 2, {0xA5, 0x80, 0, 0});
    ASSERT_EQ(DecodeDib(one.data(), one.size(), &b, nullptr), 1);
    EXPECT_EQ(Rows(b), "1010010110|");
    auto four = MakeDib(3, 1, 4, BitmapRgb, 16, {0x12, 0x30, 0, 0});
    ASSERT_EQ(DecodeDib(four.data(), four.size(), &b, nullptr), 1);
    EXPECT_EQ(Rows(b), "123|");
}

TEST(BmpDecoder, Rle8EscapesEndOfLineDeltaAndOddAbsoluteRuns) {
    // Bottom row: run of 2 x 7, absolute run of 3 (padded), end of line. Then a delta of
    // (1, 0) and a single 9, end of bitmap. Everything not written stays 0.
    std::vector<uint8_t> bits = {2, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 1, 9, 0, 1};
    auto dib = MakeDib(6, 2, 8, BitmapRle8, 16, bits);
    DecodedBitmap b;
    ASSERT_EQ(DecodeDib(dib.data(), dib.size(), &b, nullptr), 1);
    EXPECT_EQ(Rows(b), "090000|771230|");
}

TEST(BmpDecoder, Rle4RunsAlternateNibblesAndAbsoluteRunsArePadded) {
    // Run of 5 alternating 1,2; absolute run of 3 (1 byte too many, then padding), EOB.
    std::vector<uint8_t> bits = {5, 0x12, 0, 3, 0x34, 0x50, 0, 1};
    auto dib = MakeDib(8, 1, 4, BitmapRle4, 16, bits);
    DecodedBitmap b;
    ASSERT_EQ(DecodeDib(dib.data(), dib.size(), &b, nullptr), 1);
    EXPECT_EQ(Rows(b), "12121345|");
}

TEST(BmpDecoder, RunsPastTheRowOrThePictureAreClipped) {
    // A run of 200 into a 4-wide row, a delta far above the picture, then more data.
    std::vector<uint8_t> bits = {200, 3, 0, 0, 3, 4, 0, 2, 0, 250, 5, 5, 0, 1};
    auto dib = MakeDib(4, 2, 8, BitmapRle8, 16, bits);
    DecodedBitmap b;
    ASSERT_EQ(DecodeDib(dib.data(), dib.size(), &b, nullptr), 1);
    EXPECT_EQ(Rows(b), "4440|3333|");
    // Absolute run longer than the data that is left.
    auto cut = MakeDib(4, 1, 8, BitmapRle8, 16, {0, 200, 1, 2});
    ASSERT_EQ(DecodeDib(cut.data(), cut.size(), &b, nullptr), 1);
    EXPECT_EQ(Rows(b), "1200|");
}

TEST(BmpDecoder, IndicesBeyondTheColourTableShowBlack) {
    auto dib = MakeDib(2, 1, 8, BitmapRgb, 2, {1, 200, 0, 0});
    DecodedBitmap b;
    ASSERT_EQ(DecodeDib(dib.data(), dib.size(), &b, nullptr), 1);
    ASSERT_EQ(b.Colours.size(), 256u);
    EXPECT_EQ(b.ColoursInFile, 2);
    EXPECT_EQ(b.Colours[b.Indices[0]], 0x101010u);
    EXPECT_EQ(b.Colours[b.Indices[1]], 0u);
}

TEST(BmpDecoder, RefusesBadHeadersWithAReason) {
    struct Case {
        std::vector<uint8_t> Dib;
        size_t Cut; // 0: whole
    };
    std::vector<Case> cases = {
        {MakeDib(0, 1, 8, BitmapRgb, 0, {}), 0},               // zero width
        {MakeDib(1, 0, 8, BitmapRgb, 0, {}), 0},               // zero height
        {MakeDib(5000, 5000, 8, BitmapRle8, 0, {0, 1}), 0},    // 25 M pixels
        {MakeDib(1, 1, 24, BitmapRgb, 0, {0, 0, 0, 0}), 0},    // no colour table
        {MakeDib(1, 1, 8, BitmapRle4, 0, {0, 1}), 0},          // RLE4 at 8 bits
        {MakeDib(1, -1, 8, BitmapRle8, 0, {0, 1}), 0},         // top-down RLE
        {MakeDib(1, 1, 8, 3, 0, {0, 0, 0, 0}), 0},             // bit fields
        {MakeDib(1, 1, 4, BitmapRgb, 17, {0, 0, 0, 0}), 0},    // more colours than 4 bits hold
        {MakeDib(4, 4, 8, BitmapRgb, 0, {0, 0, 0, 0}), 0},     // pixels missing
        {MakeDib(1, 1, 8, BitmapRgb, 256, {0, 0, 0, 0}), 500}, // colour table cut short
        {MakeDib(1, 1, 8, BitmapRgb, 0, {}), 20},              // header cut short
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        DecodedBitmap b;
        std::string error;
        size_t size = cases[i].Cut ? cases[i].Cut : cases[i].Dib.size();
        EXPECT_EQ(DecodeDib(cases[i].Dib.data(), size, &b, &error), 0);
        EXPECT_FALSE(error.empty());
    }
    std::vector<uint8_t> notBmp = {'X', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0};
    DecodedBitmap b;
    EXPECT_EQ(DecodeBmpFile(notBmp.data(), notBmp.size(), &b, nullptr), 0);
}

TEST(BmpDecoder, EveryTruncationOfARealFileIsSafe) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(FindBitmapResource(118, &data, &size), 1);
    std::vector<uint8_t> file = BmpFileFromDib(std::vector<uint8_t>(data, data + size));
    int32_t accepted = 0;
    for (size_t cut = 0; cut < file.size(); cut += 7) {
        DecodedBitmap b;
        if (DecodeBmpFile(file.data(), cut, &b, nullptr)) {
            ExpectConsistent(b);
            ++accepted;
        }
    }
    // A cut RLE stream is a clipped picture, not a failure.
    EXPECT_GT(accepted, 0);
}

// Pictures of runs and noise, to exercise every branch of the encoders.
IndexedImage TestImage(int32_t w, int32_t h, int32_t colours, uint32_t seed) {
    IndexedImage image;
    image.Width = w;
    image.Height = h;
    for (int32_t i = 0; i < colours; ++i)
        image.Colours.push_back(static_cast<uint32_t>(i | (255 - i) << 8 | ((i * 7) & 255) << 16));
    for (int32_t i = 0; i < w * h; ++i) {
        seed = seed * 1103515245u + 12345u;
        uint32_t r = (seed >> 16) & 0x7FFF;
        // Long stretches of one colour broken by noise and short runs.
        bool noisy = ((i / 37) % 3) == 0;
        image.Indices.push_back(static_cast<uint8_t>(noisy ? r % colours : (i / 300) % colours));
    }
    return image;
}

TEST(BmpEncoder, DecodingWhatWasEncodedGivesThePixelsBack) {
    const struct {
        int32_t Bpp;
        uint32_t Compression;
    } codings[] = {
        {1, BitmapRgb}, {4, BitmapRgb}, {8, BitmapRgb}, {4, BitmapRle4}, {8, BitmapRle8}};
    for (const auto& coding : codings)
        for (int32_t w : {1, 2, 3, 5, 17, 256, 303, 600}) {
            SCOPED_TRACE(std::to_string(coding.Bpp) + "/" + std::to_string(coding.Compression) +
                         " width " + std::to_string(w));
            IndexedImage image = TestImage(w, 7, 1 << coding.Bpp, static_cast<uint32_t>(w));
            std::vector<uint8_t> dib = EncodeDib(image, coding.Bpp, coding.Compression);
            ASSERT_FALSE(dib.empty());
            DecodedBitmap b;
            std::string error;
            ASSERT_EQ(DecodeDib(dib.data(), dib.size(), &b, &error), 1) << error;
            EXPECT_EQ(b.Width, w);
            EXPECT_EQ(b.Height, 7);
            EXPECT_EQ(b.Indices, image.Indices);
            EXPECT_EQ(b.Colours[(1 << coding.Bpp) - 1], image.Colours.back());
        }
}

TEST(BmpEncoder, RefusesIndicesTheDepthCannotHold) {
    IndexedImage image = TestImage(4, 4, 16, 1);
    image.Indices[5] = 16;
    EXPECT_TRUE(EncodeDib(image, 4, BitmapRle4).empty());
    EXPECT_FALSE(EncodeDib(image, 8, BitmapRle8).empty());
    EXPECT_TRUE(EncodeDib(image, 4, BitmapRle8).empty());
}

} // namespace
