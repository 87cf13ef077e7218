#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "display/software/bmp.h"
#include "resources/resources.h"
#include "tools/resgen/dib_encode.h"

namespace {

// A DIB with a 40-byte header and `colours` grey entries (entry i = i * 16), then `bits`.
std::vector<uint8_t> Dib(uint32_t w, uint32_t h, uint32_t bpp, uint32_t compression,
                         const std::vector<uint8_t>& bits, uint32_t colours = 16) {
    std::vector<uint8_t> d;
    for (uint32_t v : {40u, w, h, 1 | bpp << 16, compression, 0u, 0u, 0u, colours, 0u})
        for (int32_t i = 0; i < 4; ++i) d.push_back(static_cast<uint8_t>(v >> 8 * i));
    for (uint32_t i = 0; i < colours * 4; ++i) d.push_back(i % 4 == 3 ? 0 : uint8_t(i / 4 * 16));
    d.insert(d.end(), bits.begin(), bits.end());
    return d;
}

// Whatever the decoder accepts is a whole picture whose every index names a colour.
bool Consistent(const DecodedBitmap& b) {
    return b.Width > 0 && b.Height > 0 && b.Indices.size() == size_t(b.Width) * b.Height &&
           *std::max_element(b.Indices.begin(), b.Indices.end()) < b.Colours.size();
}

// Each pixel's grey level in hex (its entry in Dib's table), top row first; or "refused".
std::string Decoded(const std::vector<uint8_t>& dib) {
    DecodedBitmap b;
    std::string pixels;
    if (!DecodeDib(dib.data(), dib.size(), &b, nullptr)) return "refused";
    if (!Consistent(b)) return "broken";
    for (uint8_t i : b.Indices) pixels += "0123456789ABCDEF"[(b.Colours[i] & 255) / 16];
    return pixels;
}

TEST(BmpDecoder, PlainAndRunLengthCodedPicturesTheirLimitsAndEveryTruncationOfARealFile) {
    const std::pair<std::vector<uint8_t>, std::string> cases[] = {
        {Dib(3, 2, 8, BitmapRgb, {1, 2, 3, 0, 4, 5, 6, 0}), "456123"}, // rows padded, bottom first
        {Dib(3, -2, 8, BitmapRgb, {1, 2, 3, 0, 4, 5, 6, 0}), "123456"},
        {Dib(10, 1, 1, BitmapRgb, {0xA5, 0x80, 0, 0}, 2), "1010010110"},
        {Dib(3, 1, 4, BitmapRgb, {0x12, 0x30, 0, 0}), "123"},
        {Dib(2, 1, 8, BitmapRgb, {1, 200, 0, 0}, 2), "10"},     // past the colours listed: black
        {Dib(1, 1, 4, BitmapRgb, {0, 0, 0, 0}, 17), "refused"}, // more colours than 4 bits hold
        {Dib(5000, 5000, 8, BitmapRle8, {0, 1}), "refused"},    // too large to allocate
        {Dib(1, -1, 8, BitmapRle8, {0, 1}), "refused"},         // run-length coded top-down
        // A run, an odd absolute run and its padding, end of line; a delta, end of bitmap.
        {Dib(6, 2, 8, BitmapRle8, {2, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 1, 9, 0, 1}),
         "090000771230"},
        // Nibbles alternating in a run; an absolute run of 3 with a spare nibble and padding.
        {Dib(8, 1, 4, BitmapRle4, {5, 0x12, 0, 3, 0x34, 0x50, 0, 1}), "12121345"},
        // Runs past the row end, a delta past the top, an absolute run past the data: clipped.
        {Dib(4, 2, 8, BitmapRle8, {2, 3, 0, 0, 200, 4, 0, 2, 0, 250, 5, 5, 0, 1}), "44443300"},
        {Dib(4, 1, 8, BitmapRle8, {0, 200, 1, 2}), "1200"},
    };
    for (const auto& [dib, expected] : cases) EXPECT_EQ(Decoded(dib), expected);
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    ASSERT_EQ(FindBitmapResource(118, &data, &size), 1);
    const std::vector<uint8_t> file = BmpFileFromDib(std::vector<uint8_t>(data, data + size));
    size_t accepted = 0, broken = 0;
    DecodedBitmap b;
    for (size_t cut = 0; cut < file.size(); ++cut)
        if (DecodeBmpFile(file.data(), cut, &b, nullptr)) ++accepted, broken += !Consistent(b);
    EXPECT_EQ(broken, 0u);
    // Cut in its run-length coded pixels it is a clipped picture; cut before them, refused.
    EXPECT_EQ(accepted, file.size() - 14 - 40 - 16 * 4);
}

TEST(BmpSuite, GoodFilesMatchTheirReferencesAndBadOnesAreRefusedOrClipped) {
    const std::string suite = QUORVANEL_SOURCE_DIR "/../shared/testdata/bmpsuite/";
    if (!std::filesystem::exists(suite)) GTEST_SKIP() << "no bitmap corpus at " << suite;
    DecodedBitmap b;
    auto decode = [&](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
        return DecodeBmpFile(bytes.data(), bytes.size(), &b, nullptr);
    };
    for (std::string name :
         {"pal1", "pal1wb:pal1", "pal1bg", "pal4", "pal4rle:pal4", "pal4gs", "pal8", "pal8-0:pal8",
          "pal8rle:pal8", "pal8topdown:pal8", "pal8os2:pal8", "pal8v4:pal8", "pal8v5:pal8",
          "pal8gs", "pal8w124", "pal8w125", "pal8w126", "pal8nonsquare:pal8nonsquare-e"}) {
        const std::string file = name.substr(0, name.find(':'));
        ASSERT_EQ(decode(suite + "good/" + file + ".bmp"), 1) << file;
        int32_t w = 0, h = 0;
        std::vector<uint8_t> rgba, ours;
        const std::string reference = suite + "reference/" + name.substr(name.find(':') + 1);
        ASSERT_EQ(ReadPngRgba(reference + ".png", &w, &h, &rgba), 1);
        for (uint8_t i : b.Indices)
            for (int32_t k : {0, 8, 16, 24}) ours.push_back(k < 24 ? b.Colours[i] >> k : 255);
        EXPECT_EQ(std::tuple(b.Width, b.Height, ours), std::tuple(w, h, rgba)) << file;
    }
    for (const auto& e : std::filesystem::directory_iterator(suite + "bad"))
        EXPECT_TRUE(!decode(e.path().string()) || Consistent(b)) << e.path();
}

TEST(BmpEncoder, DecodingWhatWasEncodedGivesThePixelsBack) {
    const std::pair<int32_t, uint32_t> codings[] = {
        {1, BitmapRgb}, {4, BitmapRgb}, {8, BitmapRgb}, {4, BitmapRle4}, {8, BitmapRle8}};
    for (auto [bpp, compression] : codings)
        for (int32_t w : {1, 2, 3, 5, 17, 256, 303, 600}) {
            IndexedImage image{w, 7, {}, {}}; // long runs broken by noise: every kind of run
            for (int32_t i = 0; i < w * 7; ++i)
                image.Indices.push_back(uint8_t((i % 37 < 12 ? i * i * 7 : i / 300) % (1 << bpp)));
            const std::vector<uint8_t> dib = EncodeDib(image, bpp, compression);
            DecodedBitmap b;
            ASSERT_EQ(DecodeDib(dib.data(), dib.size(), &b, nullptr), 1);
            EXPECT_EQ(std::pair(b.Width, b.Indices), std::pair(w, image.Indices));
        }
}

} // namespace
