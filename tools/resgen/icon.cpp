// The program's icon: a little playfield with its blue wall, a claimed corner, the red trail
// that is closing it, the player's square and a ball. Every size is laid out on its own pixel
// grid, the way a font is hinted: straight edges fall on whole pixels and each part keeps a
// least size, so the 16-pixel icon stays sharp and still shows the ball and the trail. Only
// the rounded corners of the tile and the ball are smoothed, with 4x4 samples a pixel.
#include <algorithm>
#include <cmath>

#include "tools/resgen/resgen.h"

namespace {

struct Rgba {
    float R, G, B, A;
};

struct Box {
    int32_t X0, Y0, X1, Y1; // pixels, right and bottom exclusive
};

struct IconLayout {
    int32_t Size;
    float Corner; // radius of the tile's rounded corners
    int32_t Wall; // width of the wall band
    Box Claimed, Trail, Player;
    float BallX, BallY, BallRadius;
};

IconLayout LayOutIcon(int32_t size) {
    auto at = [size](float fraction) { return static_cast<int32_t>(std::lround(fraction * size)); };
    IconLayout l;
    l.Size = size;
    l.Corner = 0.16f * size;
    l.Wall = std::max(1, at(0.1f));
    const int32_t inner = size - l.Wall;
    l.Claimed = {l.Wall, at(0.56f), at(0.46f), inner};
    l.Trail = {l.Claimed.X1, at(0.6f), l.Claimed.X1 + std::max(1, at(0.1f)), inner};
    const int32_t side = std::max(2, at(0.22f));
    l.Player = {at(0.4f), at(0.52f), at(0.4f) + side, at(0.52f) + side};
    // Centred on a pixel corner, at least two pixels across.
    l.BallX = static_cast<float>(at(0.66f));
    l.BallY = static_cast<float>(at(0.32f));
    l.BallRadius = std::max(1.0f, 0.085f * size);
    return l;
}

bool Inside(const Box& b, float x, float y) {
    return x >= b.X0 && x < b.X1 && y >= b.Y0 && y < b.Y1;
}

// The colour at a point, in pixels from the top left.
Rgba IconAt(const IconLayout& l, float x, float y) {
    const float r = l.Corner, far = l.Size - r;
    const float cx = std::clamp(x, r, far), cy = std::clamp(y, r, far);
    if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > r * r) return {0, 0, 0, 0};
    const Box field = {l.Wall, l.Wall, l.Size - l.Wall, l.Size - l.Wall};
    if (!Inside(field, x, y)) return {40, 70, 230, 255}; // the wall
    const float bx = x - l.BallX, by = y - l.BallY;
    if (bx * bx + by * by < l.BallRadius * l.BallRadius) return {255, 250, 210, 255};
    if (Inside(l.Player, x, y)) return {255, 255, 255, 255};
    if (Inside(l.Claimed, x, y)) return {255, 170, 30, 255};
    if (Inside(l.Trail, x, y)) return {235, 40, 40, 255};
    return {18, 22, 60, 255}; // open space
}

} // namespace

std::vector<uint8_t> DrawIcon(int32_t size) {
    const IconLayout layout = LayOutIcon(size);
    std::vector<uint8_t> rgba(static_cast<size_t>(size) * size * 4);
    const int32_t samples = 4;
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int32_t sy = 0; sy < samples; ++sy)
                for (int32_t sx = 0; sx < samples; ++sx) {
                    Rgba c = IconAt(layout, x + (sx + 0.5f) / samples, y + (sy + 0.5f) / samples);
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
