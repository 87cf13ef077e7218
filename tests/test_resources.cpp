#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "display/software/bmp.h"
#include "resources/resources.h"
#include "tests/support/world.h"
#include "tools/resgen/dib_encode.h"

namespace {

struct Expected {
    int32_t Id, Width, Height, Bpp;
    uint32_t Compression;
};

const Expected Bitmaps[] = {{111, 303, 92, 4, BitmapRle4},
                            {113, 312, 80, 8, BitmapRle8},
                            {118, 203, 37, 4, BitmapRle4},
                            {119, 226, 38, 4, BitmapRle4},
                            {120, 152, 46, 4, BitmapRgb}};

DecodedBitmap Decode(int32_t id, std::vector<uint8_t>* dib = nullptr) {
    const uint8_t* data = nullptr;
    uint32_t size = 0;
    DecodedBitmap b;
    EXPECT_EQ(FindBitmapResource(id, &data, &size), 1) << id;
    if (!data) return b;
    std::string error;
    EXPECT_EQ(DecodeDib(data, size, &b, &error), 1) << id << ": " << error;
    if (dib) dib->assign(data, data + size);
    return b;
}

uint32_t Read32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

TEST(EmbeddedBitmaps, HaveTheirSizesDepthsAndCodings) {
    for (const Expected& e : Bitmaps) {
        SCOPED_TRACE(e.Id);
        std::vector<uint8_t> dib;
        DecodedBitmap b = Decode(e.Id, &dib);
        ASSERT_GE(dib.size(), 40u);
        EXPECT_EQ(Read32(dib.data()), 40u); // a plain 40-byte information header
        EXPECT_EQ(b.Width, e.Width);
        EXPECT_EQ(b.Height, e.Height);
        EXPECT_EQ(b.BitsPerPixel, e.Bpp);
        EXPECT_EQ(b.Compression, e.Compression);
        EXPECT_EQ(Read32(dib.data() + 20), dib.size() - 40 - (4u << e.Bpp)); // image size
    }
    EXPECT_EQ(FindBitmapResource(112, nullptr, nullptr), 0);
}

TEST(EmbeddedBitmaps, EncodingTheirPixelsAgainGivesTheSameBytes) {
    for (const Expected& e : Bitmaps) {
        SCOPED_TRACE(e.Id);
        std::vector<uint8_t> dib;
        DecodedBitmap b = Decode(e.Id, &dib);
        IndexedImage image{b.Width, b.Height, b.Indices, b.Colours};
        std::vector<uint8_t> again = EncodeDib(image, e.Bpp, e.Compression);
        EXPECT_EQ(again, dib);
        DecodedBitmap back;
        ASSERT_EQ(DecodeDib(again.data(), again.size(), &back, nullptr), 1);
        EXPECT_EQ(back.Indices, b.Indices);
    }
}

TEST(EmbeddedBitmaps, ArtSitsOnATransparentBorderWithInkInTheMiddle) {
    for (const Expected& e : Bitmaps) {
        SCOPED_TRACE(e.Id);
        DecodedBitmap b = Decode(e.Id);
        ASSERT_EQ(b.Indices.size(), static_cast<size_t>(e.Width) * e.Height);
        auto at = [&](int32_t x, int32_t y) { return b.Indices[y * b.Width + x]; };
        for (int32_t x = 0; x < b.Width; ++x) {
            EXPECT_EQ(at(x, 0), 0);
            EXPECT_EQ(at(x, b.Height - 1), 0);
        }
        for (int32_t y = 0; y < b.Height; ++y) {
            EXPECT_EQ(at(0, y), 0);
            EXPECT_EQ(at(b.Width - 1, y), 0);
        }
        // The middle third holds plenty of ink, and there is transparent space too.
        int32_t ink = 0, middle = 0;
        for (int32_t y = b.Height / 3; y < 2 * b.Height / 3; ++y)
            for (int32_t x = b.Width / 3; x < 2 * b.Width / 3; ++x) ink += at(x, y) != 0, ++middle;
        EXPECT_GT(ink, middle / 4);
        int32_t all = 0;
        for (uint8_t i : b.Indices) all += i != 0;
        EXPECT_LT(all, b.Width * b.Height * 9 / 10);
    }
}

// The nearest entry of the 3-3-2 colour cube, as an 8-bit display picks it.
int32_t NearestCubeEntry(uint32_t rgb) {
    int32_t r = rgb & 255, g = (rgb >> 8) & 255, bl = (rgb >> 16) & 255, best = 0, bestD = 1 << 30;
    for (int32_t i = 0; i < 256; ++i) {
        int32_t dr = (i >> 5) * 255 / 7 - r, dg = ((i >> 2) & 7) * 255 / 7 - g,
                db = (i & 3) * 255 / 3 - bl;
        int32_t d = dr * dr + dg * dg + db * db;
        if (d < bestD) best = i, bestD = d;
    }
    return best;
}

TEST(EmbeddedBitmaps, OnlyTheBackgroundIsBlackAtAnyDepth) {
    for (const Expected& e : Bitmaps) {
        SCOPED_TRACE(e.Id);
        DecodedBitmap b = Decode(e.Id);
        ASSERT_FALSE(b.Colours.empty());
        EXPECT_EQ(b.Colours[0], 0u);
        std::vector<int32_t> used(b.Colours.size(), 0);
        for (uint8_t i : b.Indices) used[i] = 1;
        for (size_t i = 1; i < used.size(); ++i) {
            if (!used[i]) continue;
            uint32_t c = b.Colours[i];
            EXPECT_NE(NearestCubeEntry(c), 0) << "entry " << i;
            // Not 0 in 5-6-5 either.
            EXPECT_TRUE((c & 255) >= 8 || ((c >> 8) & 255) >= 4 || ((c >> 16) & 255) >= 8);
        }
    }
}

// ImageMagick reads RLE4 and RLE8 on its own; its colours must agree with ours.
TEST(EmbeddedBitmaps, AnIndependentDecoderSeesTheSamePictures) {
    if (std::system("command -v convert >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const std::filesystem::path dir = PrivateTempDir("bmp-im");
    std::filesystem::create_directories(dir);
    for (const Expected& e : Bitmaps) {
        SCOPED_TRACE(e.Id);
        std::vector<uint8_t> dib;
        DecodedBitmap b = Decode(e.Id, &dib);
        std::vector<uint8_t> file = BmpFileFromDib(dib);
        std::string bmp = (dir / (std::to_string(e.Id) + ".bmp")).string();
        std::string rgb = (dir / (std::to_string(e.Id) + ".rgb")).string();
        std::ofstream(bmp, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<long>(file.size()));
        std::string command = "convert '" + bmp + "' -depth 8 'rgb:" + rgb + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream in(rgb, std::ios::binary);
        std::vector<uint8_t> pixels{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
        ASSERT_EQ(pixels.size(), static_cast<size_t>(b.Width) * b.Height * 3);
        int32_t wrong = 0;
        for (size_t i = 0; i < b.Indices.size(); ++i) {
            uint32_t c = b.Colours[b.Indices[i]];
            wrong += pixels[3 * i] != (c & 255) || pixels[3 * i + 1] != ((c >> 8) & 255) ||
                     pixels[3 * i + 2] != ((c >> 16) & 255);
        }
        EXPECT_EQ(wrong, 0);
        if (e.Bpp != 8) continue;
        // And the other way: ImageMagick's own RLE8 encoding through our decoder.
        std::string rle = (dir / "im-rle8.bmp").string();
        command = "convert '" + bmp + "' -compress RLE 'BMP3:" + rle + "' 2>/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0);
        std::ifstream rleIn(rle, std::ios::binary);
        std::vector<uint8_t> rleBytes{std::istreambuf_iterator<char>(rleIn),
                                      std::istreambuf_iterator<char>()};
        DecodedBitmap theirs;
        std::string error;
        ASSERT_EQ(DecodeBmpFile(rleBytes.data(), rleBytes.size(), &theirs, &error), 1) << error;
        EXPECT_EQ(theirs.Compression, BitmapRle8);
        ASSERT_EQ(theirs.Indices.size(), b.Indices.size());
        int32_t differ = 0;
        for (size_t i = 0; i < b.Indices.size(); ++i)
            differ += theirs.Colours[theirs.Indices[i]] != b.Colours[b.Indices[i]];
        EXPECT_EQ(differ, 0);
    }
    std::filesystem::remove_all(dir);
}

struct Wave {
    uint16_t Format = 0, Channels = 0, Bits = 0, BlockAlign = 0;
    uint32_t Rate = 0, ByteRate = 0;
    std::vector<int16_t> Samples;
};

int32_t ParseWave(const uint8_t* d, uint32_t size, Wave* w) {
    if (size < 12 || std::memcmp(d, "RIFF", 4) || std::memcmp(d + 8, "WAVE", 4)) return 0;
    if (Read32(d + 4) != size - 8) return 0;
    int32_t haveFormat = 0;
    for (uint32_t at = 12; at + 8 <= size;) {
        uint32_t length = Read32(d + at + 4);
        if (at + 8 + length > size) return 0;
        const uint8_t* body = d + at + 8;
        if (!std::memcmp(d + at, "fmt ", 4) && length >= 16) {
            w->Format = static_cast<uint16_t>(body[0] | body[1] << 8);
            w->Channels = static_cast<uint16_t>(body[2] | body[3] << 8);
            w->Rate = Read32(body + 4);
            w->ByteRate = Read32(body + 8);
            w->BlockAlign = static_cast<uint16_t>(body[12] | body[13] << 8);
            w->Bits = static_cast<uint16_t>(body[14] | body[15] << 8);
            haveFormat = 1;
        } else if (!std::memcmp(d + at, "data", 4) && haveFormat) {
            for (uint32_t i = 0; i + 1 < length; i += 2)
                w->Samples.push_back(static_cast<int16_t>(body[i] | body[i + 1] << 8));
            return 1;
        }
        at += 8 + length + (length & 1);
    }
    return 0;
}

TEST(EmbeddedSounds, ArePcmMonoAt11025HzWithTheirLengths) {
    const std::pair<int32_t, double> sounds[] = {
        {121, 0.68}, {122, 0.64}, {123, 0.79}, {124, 0.40}};
    for (const auto& [id, seconds] : sounds) {
        SCOPED_TRACE(id);
        const uint8_t* data = nullptr;
        uint32_t size = 0;
        ASSERT_EQ(FindWaveResource(id, &data, &size), 1);
        Wave w;
        ASSERT_EQ(ParseWave(data, size, &w), 1);
        EXPECT_EQ(w.Format, 1);
        EXPECT_EQ(w.Channels, 1);
        EXPECT_EQ(w.Rate, 11025u);
        EXPECT_EQ(w.Bits, 16);
        EXPECT_EQ(w.BlockAlign, 2);
        EXPECT_EQ(w.ByteRate, 22050u);
        EXPECT_NEAR(w.Samples.size() / 11025.0, seconds, 0.02);
        ASSERT_GT(w.Samples.size(), 100u);
        // Starts and ends at silence, and is clearly audible in between.
        EXPECT_LE(std::abs(w.Samples.front()), 64);
        EXPECT_LE(std::abs(w.Samples.back()), 64);
        int32_t peak = 0;
        for (int16_t s : w.Samples) peak = std::max(peak, std::abs(static_cast<int32_t>(s)));
        EXPECT_GT(peak, 8000);
        EXPECT_LT(peak, 32767); // not clipped
    }
    EXPECT_EQ(FindWaveResource(125, nullptr, nullptr), 0);
    EXPECT_EQ(FindWaveResource(111, nullptr, nullptr), 0);
}

} // namespace
