// The program's icon: a little playfield with its blue wall, a claimed corner, the red trail
// that is closing it, the player's square and a ball. Drawn by shapes at 4x4 samples a pixel.
#include <algorithm>
#include <cmath>

#include "tools/resgen/resgen.h"

namespace {

struct Rgba {
    float R, G, B, A;
};

// The colour of the icon at a point of the unit square (0,0 top left).
Rgba IconAt(float u, float v) {
    auto inside = [&](float x0, float y0, float x1, float y1) {
        return u >= x0 && u < x1 && v >= y0 && v < y1;
    };
    // Rounded outer tile.
    const float r = 0.16f;
    float cu = std::clamp(u, r, 1 - r), cv = std::clamp(v, r, 1 - r);
    if ((u - cu) * (u - cu) + (v - cv) * (v - cv) > r * r) return {0, 0, 0, 0};
    if (!inside(0.1f, 0.1f, 0.9f, 0.9f)) return {40, 70, 230, 255}; // the wall
    float bu = u - 0.66f, bv = v - 0.32f;
    if (bu * bu + bv * bv < 0.085f * 0.085f) return {255, 250, 210, 255}; // the ball
    if (inside(0.4f, 0.52f, 0.62f, 0.74f)) return {255, 255, 255, 255};   // the player
    if (inside(0.1f, 0.56f, 0.46f, 0.9f)) return {255, 170, 30, 255};     // claimed
    if (inside(0.46f, 0.6f, 0.56f, 0.9f)) return {235, 40, 40, 255};      // the trail
    return {18, 22, 60, 255};                                             // open space
}

} // namespace

std::vector<uint8_t> DrawIcon(int32_t size) {
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    const int32_t samples = 4;
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int32_t sy = 0; sy < samples; ++sy)
                for (int32_t sx = 0; sx < samples; ++sx) {
                    Rgba c = IconAt((x + (sx + 0.5f) / samples) / size,
                                    (y + (sy + 0.5f) / samples) / size);
                    float w = c.A / 255.0f;
                    r += c.R * w, g += c.G * w, b += c.B * w, a += w;
                }
            uint8_t* p = rgba.data() + (static_cast<size_t>(y) * size + x) * 4;
            if (a > 0) {
                p[0] = static_cast<uint8_t>(std::lround(r / a));
                p[1] = static_cast<uint8_t>(std::lround(g / a));
                p[2] = static_cast<uint8_t>(std::lround(b / a));
            }
            p[3] = static_cast<uint8_t>(std::lround(a * 255.0f / (samples * samples)));
        }
    return rgba;
}

std::vector<uint8_t> BuildIco(const std::vector<int32_t>& sizes) {
    auto put16 = [](std::vector<uint8_t>& out, uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    auto put32 = [&](std::vector<uint8_t>& out, uint32_t v) {
        put16(out, v & 0xFFFF);
        put16(out, v >> 16);
    };
    std::vector<std::vector<uint8_t>> images;
    for (int32_t size : sizes) {
        std::vector<uint8_t> rgba = DrawIcon(size);
        std::vector<uint8_t> img;
        const uint32_t maskStride = ((size + 31) / 32) * 4;
        put32(img, 40);
        put32(img, static_cast<uint32_t>(size));
        put32(img, static_cast<uint32_t>(size * 2)); // colour rows and mask rows
        put16(img, 1);
        put16(img, 32);
        put32(img, 0);
        put32(img, static_cast<uint32_t>(size * size * 4 + maskStride * size));
        for (int32_t i = 0; i < 4; ++i) put32(img, 0);
        for (int32_t y = size - 1; y >= 0; --y) // bottom-up, blue green red alpha
            for (int32_t x = 0; x < size; ++x) {
                const uint8_t* p = rgba.data() + (static_cast<size_t>(y) * size + x) * 4;
                img.insert(img.end(), {p[2], p[1], p[0], p[3]});
            }
        for (int32_t y = size - 1; y >= 0; --y) { // AND mask: 1 where transparent
            std::vector<uint8_t> row(maskStride, 0);
            for (int32_t x = 0; x < size; ++x)
                if (rgba[(static_cast<size_t>(y) * size + x) * 4 + 3] < 128)
                    row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            img.insert(img.end(), row.begin(), row.end());
        }
        images.push_back(std::move(img));
    }
    std::vector<uint8_t> ico;
    put16(ico, 0);
    put16(ico, 1); // icon
    put16(ico, static_cast<uint32_t>(sizes.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        ico.push_back(static_cast<uint8_t>(sizes[i] >= 256 ? 0 : sizes[i]));
        ico.push_back(static_cast<uint8_t>(sizes[i] >= 256 ? 0 : sizes[i]));
        ico.push_back(0); // no colour table
        ico.push_back(0);
        put16(ico, 1);
        put16(ico, 32);
        put32(ico, static_cast<uint32_t>(images[i].size()));
        put32(ico, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& img : images) ico.insert(ico.end(), img.begin(), img.end());
    return ico;
}
