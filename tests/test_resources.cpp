#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "display/software/bmp.h"
#include "display/software/surface.h"
#include "resources/resources.h"
#include "tools/resgen/dib_encode.h"

namespace {

// Id, width, height, bits per pixel and coding of each bitmap the program holds.
const int32_t Bitmaps[][5] = {{111, 303, 92, 4, BitmapRle4},
                              {113, 312, 80, 8, BitmapRle8},
                              {118, 203, 37, 4, BitmapRle4},
                              {119, 226, 38, 4, BitmapRle4},
                              {120, 152, 46, 4, BitmapRgb}};

uint32_t U32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

TEST(EmbeddedBitmaps, DecodeToTheirSizeDepthAndCodingRoundTripAndAreInkedOnlyWhereDrawn) {
    for (const auto& [id, w, h, bpp, compression] : Bitmaps) {
        const uint8_t* data = nullptr;
        uint32_t size = 0;
        ASSERT_EQ(FindBitmapResource(id, &data, &size), 1);
        const std::vector<uint8_t> dib(data, data + size);
        DecodedBitmap b;
        ASSERT_EQ(DecodeDib(data, size, &b, nullptr), 1) << id;
        // A plain 40-byte header whose image size is that of the pixels after the table.
        EXPECT_EQ((std::array<int64_t, 6>{U32(data), U32(data + 20), b.Width, b.Height,
                                          b.BitsPerPixel, b.Compression}),
                  (std::array<int64_t, 6>{40, size - 40 - (4u << bpp), w, h, bpp, compression}));
        EXPECT_EQ(EncodeDib({w, h, b.Indices, b.Colours}, bpp, compression), dib) << id;
        int32_t border = 0, middle = 0, all = 0;
        for (int32_t i = 0; i < w * h; ++i) {
            const int32_t x = i % w, y = i / w, ink = b.Indices[i] != 0;
            border += ink && (x == 0 || y == 0 || x == w - 1 || y == h - 1);
            middle += ink && 3 * x >= w && 3 * x < 2 * w && 3 * y >= h && 3 * y < 2 * h;
            all += ink;
        }
        // A transparent edge and space around the picture, plenty of ink in its middle third.
        EXPECT_EQ(border, 0) << id;
        EXPECT_LT(all, w * h * 9 / 10) << id;
        EXPECT_GT(middle, w * h / 36) << id;
        // No colour drawn comes out as the transparent 0, whatever the display's depth.
        for (int32_t depth : {8, 16, 24, 32}) {
            Surface* s = DecodeBitmapToSurface(data, size, depth);
            int32_t wrong = 0;
            for (int32_t i = 0; i < w * h; ++i)
                wrong += (ReadPixel(s, i % w, i / w) != 0) != (b.Indices[i] != 0);
            EXPECT_EQ(wrong, 0) << id << " at " << depth << " bits";
            DestroySurface(s);
        }
    }
    EXPECT_EQ(FindBitmapResource(112, nullptr, nullptr), 0);
}

TEST(EmbeddedSounds, ArePcmMonoAt11025HzWithTheirLengths) {
    for (auto [id, seconds] : {std::pair{121, 0.68}, {122, 0.64}, {123, 0.79}, {124, 0.40}}) {
        const uint8_t* d = nullptr;
        uint32_t size = 0;
        ASSERT_EQ(FindWaveResource(id, &d, &size), 1);
        ASSERT_GT(size, 44u);
        const std::string tags(reinterpret_cast<const char*>(d), 44);
        EXPECT_EQ(tags.substr(0, 4) + tags.substr(8, 8) + tags.substr(36, 4), "RIFFWAVEfmt data");
        // Chunk sizes; PCM, one channel, 11025 Hz, 22050 bytes a second, 2-byte frames of 16 bits.
        EXPECT_EQ(
            (std::array{U32(d + 4), U32(d + 16), U32(d + 20), U32(d + 24), U32(d + 28), U32(d + 32),
                        U32(d + 40)}),
            (std::array{size - 8, 16u, 1u | 1u << 16, 11025u, 22050u, 2u | 16u << 16, size - 44}));
        EXPECT_NEAR((size - 44) / 2 / 11025.0, seconds, 0.02) << id;
        // Clearly audible and not clipped.
        int32_t peak = 0;
        for (uint32_t at = 44; at + 1 < size; at += 2)
            peak = std::max(peak, std::abs(int32_t(int16_t(d[at] | d[at + 1] << 8))));
        EXPECT_TRUE(peak > 8000 && peak < 32767) << id << " peaks at " << peak;
    }
    EXPECT_EQ(FindWaveResource(125, nullptr, nullptr), 0);
}

} // namespace
