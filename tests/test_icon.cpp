// The icon at every size it is made in: sharp, with all its parts, and the window's icon and
// the Windows .ico made from the same drawing.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <map>
#include <vector>

#include "resources/resources.h"
#include "tools/resgen/resgen.h"

namespace {

using Rgb = std::array<uint8_t, 3>;

// The flat colours of the picture's parts.
const std::map<Rgb, const char*> Parts = {{{40, 70, 230}, "wall"},     {{18, 22, 60}, "open space"},
                                          {{255, 170, 30}, "claimed"}, {{235, 40, 40}, "trail"},
                                          {{255, 255, 255}, "player"}, {{255, 250, 210}, "ball"}};

uint32_t U32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

TEST(Icon, EverySizeIsSharpAndShowsEveryPart) {
    for (int32_t size : AppIconSizes) {
        const std::vector<uint8_t> rgba = DrawIcon(size);
        ASSERT_EQ(rgba.size(), static_cast<size_t>(size * size * 4));
        auto alpha = [&](int32_t x, int32_t y) { return rgba[(y * size + x) * 4 + 3]; };
        // A rounded tile: (nearly) clear corners, solid middle and edge midpoints.
        for (auto [x, y] : {std::pair{0, 0}, {size - 1, 0}, {0, size - 1}, {size - 1, size - 1}})
            EXPECT_LT(alpha(x, y), 32) << size;
        for (auto [x, y] : {std::pair{size / 2, size / 2}, {0, size / 2}, {size / 2, 0}})
            EXPECT_EQ(alpha(x, y), 255) << size;

        std::map<const char*, int32_t> seen;
        int32_t blended = 0;
        for (int32_t i = 0; i < size * size; ++i) {
            const uint8_t* p = &rgba[i * 4];
            if (p[3] != 255) continue;
            auto part = Parts.find({p[0], p[1], p[2]});
            if (part == Parts.end())
                ++blended;
            else
                ++seen[part->second];
        }
        for (const auto& [colour, name] : Parts)
            EXPECT_GE(seen[name], 2) << name << " missing at " << size << " pixels";
        // Edges on whole pixels: only the ball's rim mixes colours, a ring shorter than the
        // icon is wide. A picture scaled from another size blurs every straight edge too.
        EXPECT_LE(blended, size) << size;
    }
}

TEST(Icon, WindowIconAndWindowsIconAreTheSameDrawing) {
    const std::vector<uint8_t> window = DrawIcon(WindowIconSize);
    EXPECT_EQ(std::memcmp(WindowIconRgba, window.data(), window.size()), 0);

    const std::vector<int32_t> sizes = {16, 32, 48};
    const std::vector<uint8_t> ico = BuildIco(sizes);
    ASSERT_GE(ico.size(), 6u + 16 * sizes.size());
    EXPECT_EQ(U32(&ico[0]), 1u << 16); // reserved 0, type 1 (icon)
    EXPECT_EQ(ico[4], sizes.size());
    for (size_t k = 0; k < sizes.size(); ++k) {
        const int32_t s = sizes[k];
        const uint8_t* entry = &ico[6 + 16 * k];
        EXPECT_EQ(entry[0], s);
        EXPECT_EQ(entry[1], s);
        const uint32_t bytes = U32(entry + 8), offset = U32(entry + 12);
        const uint32_t maskStride = (s + 31) / 32 * 4;
        ASSERT_LE(offset + bytes, ico.size());
        ASSERT_EQ(bytes, 40 + static_cast<uint32_t>(s * s * 4) + maskStride * s);
        const uint8_t* header = &ico[offset];
        EXPECT_EQ((std::array{U32(header + 4), U32(header + 8)}),
                  (std::array{static_cast<uint32_t>(s), static_cast<uint32_t>(2 * s)}));
        // Rows bottom-up in blue, green, red, alpha; the mask marks the clear pixels.
        const std::vector<uint8_t> rgba = DrawIcon(s);
        const uint8_t* pixels = header + 40;
        const uint8_t* mask = pixels + s * s * 4;
        int32_t wrong = 0;
        for (int32_t y = 0; y < s; ++y)
            for (int32_t x = 0; x < s; ++x) {
                const uint8_t* want = &rgba[(y * s + x) * 4];
                const uint8_t* got = pixels + ((s - 1 - y) * s + x) * 4;
                const bool masked = mask[(s - 1 - y) * maskStride + x / 8] & (0x80 >> (x % 8));
                wrong += got[0] != want[2] || got[1] != want[1] || got[2] != want[0] ||
                         got[3] != want[3] || masked != (want[3] < 128);
            }
        EXPECT_EQ(wrong, 0) << s;
    }
}

} // namespace
