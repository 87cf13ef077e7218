// Text art: letters rendered anti-aliased by FreeType, given a gradient fill with a bevel, a
// dark rim and an extruded shadow, then keyed (transparent where nothing is drawn) and
// quantised to the bitmap's colour table. Index 0 stays black and unused by the art.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sys/stat.h>

#include "display/software/font_file.h"
#include "tools/resgen/resgen.h"

namespace {

struct Plane {
    int32_t W = 0, H = 0;
    std::vector<float> V;
    Plane(int32_t w, int32_t h) : W(w), H(h), V(static_cast<size_t>(w) * h, 0.0f) {}
    float At(int32_t x, int32_t y) const {
        return (x < 0 || y < 0 || x >= W || y >= H) ? 0.0f : V[static_cast<size_t>(y) * W + x];
    }
    float& Ref(int32_t x, int32_t y) { return V[static_cast<size_t>(y) * W + x]; }
};

struct Ink {
    Plane Mask;
    int32_t Left, Top, Right, Bottom; // bounding box of the ink, exclusive right/bottom
};

// Lays the text out at a pixel size and draws its coverage into a w x h plane; the ink's
// box is measured so the caller can fit it.
Ink Layout(FT_Face face, const ArtStyle& s, float pixelSize, float xScale, int32_t w, int32_t h,
           float originX, float originY) {
    Ink ink{Plane(w, h), w, h, 0, 0};
    FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(pixelSize * 64), 72, 72);
    FT_Matrix m;
    m.xx = static_cast<FT_Fixed>(xScale * 65536);
    m.xy = static_cast<FT_Fixed>(s.Slant * 65536);
    m.yx = 0;
    m.yy = 65536;
    float penX = originX;
    FT_UInt previous = 0;
    for (const char* c = s.Text; *c; ++c) {
        FT_UInt glyph = FT_Get_Char_Index(face, static_cast<unsigned char>(*c));
        if (previous && glyph) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNFITTED, &kern);
            penX += kern.x / 64.0f * xScale;
        }
        FT_Vector pen{static_cast<FT_Pos>(penX * 64), 0};
        FT_Set_Transform(face, &m, &pen);
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER | FT_LOAD_NO_HINTING)) continue;
        FT_GlyphSlot g = face->glyph;
        int32_t gx = g->bitmap_left, gy = static_cast<int32_t>(originY) - g->bitmap_top;
        for (uint32_t row = 0; row < g->bitmap.rows; ++row)
            for (uint32_t col = 0; col < g->bitmap.width; ++col) {
                uint8_t v = g->bitmap.buffer[row * g->bitmap.pitch + col];
                if (!v) continue;
                int32_t x = gx + static_cast<int32_t>(col), y = gy + static_cast<int32_t>(row);
                ink.Left = std::min(ink.Left, x);
                ink.Top = std::min(ink.Top, y);
                ink.Right = std::max(ink.Right, x + 1);
                ink.Bottom = std::max(ink.Bottom, y + 1);
                if (x >= 0 && y >= 0 && x < w && y < h)
                    ink.Mask.Ref(x, y) = std::max(ink.Mask.At(x, y), v / 255.0f);
            }
        penX += g->advance.x / 64.0f + s.Tracking * pixelSize * xScale;
        previous = glyph;
    }
    FT_Set_Transform(face, nullptr, nullptr);
    return ink;
}

Plane Dilate(const Plane& p, int32_t radius) {
    Plane out(p.W, p.H);
    for (int32_t y = 0; y < p.H; ++y)
        for (int32_t x = 0; x < p.W; ++x) {
            float best = 0;
            for (int32_t dy = -radius; dy <= radius; ++dy)
                for (int32_t dx = -radius; dx <= radius; ++dx) {
                    float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    if (d > radius + 0.5f) continue;
                    float weight = std::min(1.0f, radius + 0.5f - d + 0.5f);
                    best = std::max(best, p.At(x + dx, y + dy) * weight);
                }
            out.Ref(x, y) = best;
        }
    return out;
}

Plane Blur(const Plane& p, int32_t radius) {
    Plane out(p.W, p.H);
    for (int32_t y = 0; y < p.H; ++y)
        for (int32_t x = 0; x < p.W; ++x) {
            float sum = 0;
            for (int32_t dy = -radius; dy <= radius; ++dy)
                for (int32_t dx = -radius; dx <= radius; ++dx) sum += p.At(x + dx, y + dy);
            out.Ref(x, y) = sum / static_cast<float>((2 * radius + 1) * (2 * radius + 1));
        }
    return out;
}

struct Colour {
    float R = 0, G = 0, B = 0;
};

Colour FromRgb(uint32_t rgb) {
    return {static_cast<float>(rgb & 255), static_cast<float>((rgb >> 8) & 255),
            static_cast<float>((rgb >> 16) & 255)};
}

Colour Mix(Colour a, Colour b, float t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

Colour Gradient(const std::vector<uint32_t>& stops, float t) {
    if (stops.size() == 1) return FromRgb(stops[0]);
    t = std::clamp(t, 0.0f, 1.0f) * static_cast<float>(stops.size() - 1);
    size_t i = std::min(static_cast<size_t>(t), stops.size() - 2);
    return Mix(FromRgb(stops[i]), FromRgb(stops[i + 1]), t - static_cast<float>(i));
}

// The entry of the 3-3-2 colour cube an 8-bit display would pick for a colour.
int32_t NearestCubeEntry(int32_t r, int32_t g, int32_t b) {
    int32_t best = 0, bestDistance = 1 << 30;
    for (int32_t i = 0; i < 256; ++i) {
        int32_t dr = (i >> 5) * 255 / 7 - r, dg = ((i >> 2) & 7) * 255 / 7 - g,
                db = (i & 3) * 255 / 3 - b;
        int32_t d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) best = i, bestDistance = d;
    }
    return best;
}

// Art colours must never come out as the key colour: not on a palette display (nearest
// cube entry 0) and not on a 5-6-5 one (all fields zero).
uint32_t KeepOffBlack(int32_t r, int32_t g, int32_t b) {
    while (NearestCubeEntry(r, g, b) == 0 || (r < 8 && g < 4 && b < 8)) {
        r = std::min(255, r + 6);
        g = std::min(255, g + 6);
        b = std::min(255, b + 10);
    }
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
           (static_cast<uint32_t>(b) << 16);
}

float Distance2(const Colour& a, const Colour& b) {
    float dr = a.R - b.R, dg = a.G - b.G, db = a.B - b.B;
    // Green weighs most for the eye.
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db;
}

// Deterministic k-means: farthest-point seeding, then Lloyd iterations.
std::vector<Colour> Quantise(const std::vector<Colour>& pixels, int32_t k) {
    std::vector<Colour> centres;
    if (pixels.empty()) return centres;
    Colour mean;
    for (const Colour& p : pixels) mean.R += p.R, mean.G += p.G, mean.B += p.B;
    float n = static_cast<float>(pixels.size());
    centres.push_back({mean.R / n, mean.G / n, mean.B / n});
    std::vector<float> nearest(pixels.size(), 1e30f);
    while (static_cast<int32_t>(centres.size()) < k) {
        size_t far = 0;
        for (size_t i = 0; i < pixels.size(); ++i) {
            nearest[i] = std::min(nearest[i], Distance2(pixels[i], centres.back()));
            if (nearest[i] > nearest[far]) far = i;
        }
        if (nearest[far] <= 0.0f) break;
        centres.push_back(pixels[far]);
    }
    std::vector<int32_t> owner(pixels.size(), 0);
    for (int32_t iteration = 0; iteration < 12; ++iteration) {
        std::vector<Colour> sum(centres.size());
        std::vector<float> count(centres.size(), 0);
        for (size_t i = 0; i < pixels.size(); ++i) {
            float best = 1e30f;
            for (size_t c = 0; c < centres.size(); ++c) {
                float d = Distance2(pixels[i], centres[c]);
                if (d < best) best = d, owner[i] = static_cast<int32_t>(c);
            }
            Colour& s = sum[owner[i]];
            s.R += pixels[i].R, s.G += pixels[i].G, s.B += pixels[i].B;
            count[owner[i]] += 1;
        }
        for (size_t c = 0; c < centres.size(); ++c)
            if (count[c] > 0)
                centres[c] = {sum[c].R / count[c], sum[c].G / count[c], sum[c].B / count[c]};
    }
    return centres;
}

} // namespace

std::string FindBoldFont() {
    std::string found = FontFileFor("Liberation Sans:bold", "Liberation Sans");
    struct stat st;
    const char* fallback = "/usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf";
    if (found.empty() && stat(fallback, &st) == 0) found = fallback;
    return found;
}

IndexedImage RenderTextArt(const std::string& fontPath, const ArtStyle& s) {
    IndexedImage image;
    FT_Library library;
    if (FT_Init_FreeType(&library)) return image;
    FT_Face face;
    if (FT_New_Face(library, fontPath.c_str(), 0, &face)) {
        std::fprintf(stderr, "resgen: cannot open font %s\n", fontPath.c_str());
        FT_Done_FreeType(library);
        return image;
    }
    const int32_t w = s.Width, h = s.Height;
    // Room for the rim on every side and the shadow below and right.
    const int32_t margin = s.OutlineRadius + 2;
    const float boxW = static_cast<float>(w - 2 * margin - s.ShadowDepth);
    const float boxH = static_cast<float>(h - 2 * margin - s.ShadowDepth);
    // Fit the height first, then squeeze the letters sideways if the word is too wide.
    float size = boxH, xScale = 1.0f;
    for (int32_t pass = 0; pass < 6; ++pass) {
        Ink probe = Layout(face, s, size, xScale, w, h, 0, size);
        float inkW = static_cast<float>(probe.Right - probe.Left);
        float inkH = static_cast<float>(probe.Bottom - probe.Top);
        size *= boxH / inkH;
        if (inkW * (boxH / inkH) > boxW) xScale *= boxW / (inkW * (boxH / inkH));
    }
    // Rounding can leave the word a pixel too big: shrink until it sits inside its box, so
    // the rim and the shadow never reach the picture's edge.
    Ink ink{Plane(w, h), 0, 0, 0, 0};
    for (;; size -= 0.5f) {
        Ink probe = Layout(face, s, size, xScale, w, h, 0, size);
        float originX = margin + (boxW - (probe.Right - probe.Left)) / 2.0f - probe.Left;
        float originY = size + margin + (boxH - (probe.Bottom - probe.Top)) / 2.0f - probe.Top;
        ink = Layout(face, s, size, xScale, w, h, std::round(originX), std::round(originY));
        if (ink.Left >= margin && ink.Top >= margin && ink.Right <= margin + boxW &&
            ink.Bottom <= margin + boxH)
            break;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    const Plane& fill = ink.Mask;
    Plane rim = Dilate(fill, s.OutlineRadius);
    Plane soft = Blur(fill, 2);
    std::vector<Colour> colour(static_cast<size_t>(w) * h);
    std::vector<float> alpha(static_cast<size_t>(w) * h, 0.0f);
    const Colour shadow = FromRgb(s.Shadow), outline = FromRgb(s.Outline);
    const float inkTop = static_cast<float>(ink.Top), inkHeight = std::max(1, ink.Bottom - ink.Top);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            size_t i = static_cast<size_t>(y) * w + x;
            Colour c;
            float a = 0;
            auto over = [&](Colour layer, float coverage) {
                c = Mix(c, layer, coverage);
                a = a + coverage * (1 - a);
            };
            // The extrusion: the rim repeated along the diagonal, darkening with depth.
            for (int32_t d = s.ShadowDepth; d >= 1; --d) {
                float cover = rim.At(x - d, y - d);
                if (cover > 0) over(Mix(shadow, outline, 0.15f * (s.ShadowDepth - d)), cover);
            }
            over(outline, rim.At(x, y));
            float f = fill.At(x, y);
            if (f > 0) {
                float t = (static_cast<float>(y) - inkTop) / inkHeight;
                Colour body = Gradient(s.Fill, t);
                // Light from the top left: brighten edges facing it, darken the others.
                float light = soft.At(x + 1, y + 1) - soft.At(x - 1, y - 1);
                float lift = std::clamp(light * 1.4f, -0.45f, 0.6f);
                Colour toward = lift > 0 ? Colour{255, 255, 255} : Colour{0, 0, 0};
                body = Mix(body, toward, std::fabs(lift));
                over(body, f);
            }
            // c is premultiplied by a; the key decides transparency, so take the colour whole.
            colour[i] = a > 0 ? Colour{c.R / a, c.G / a, c.B / a} : Colour{};
            alpha[i] = a;
        }

    // Key: a pixel is art where the layers cover at least half of it.
    std::vector<Colour> opaque;
    for (size_t i = 0; i < colour.size(); ++i)
        if (alpha[i] >= 0.5f) opaque.push_back(colour[i]);
    std::vector<Colour> centres = Quantise(opaque, s.Colours - 1);
    std::sort(centres.begin(), centres.end(), [](const Colour& a, const Colour& b) {
        float la = a.R * 3 + a.G * 6 + a.B, lb = b.R * 3 + b.G * 6 + b.B;
        return la != lb ? la < lb : (a.R != b.R ? a.R < b.R : a.B < b.B);
    });
    image.Width = w;
    image.Height = h;
    image.Colours.assign(1, 0);
    for (const Colour& c : centres)
        image.Colours.push_back(KeepOffBlack(static_cast<int32_t>(std::lround(c.R)),
                                             static_cast<int32_t>(std::lround(c.G)),
                                             static_cast<int32_t>(std::lround(c.B))));
    image.Indices.assign(static_cast<size_t>(w) * h, 0);
    for (size_t i = 0; i < colour.size(); ++i) {
        if (alpha[i] < 0.5f) continue;
        float best = 1e30f;
        for (size_t c = 0; c < centres.size(); ++c) {
            float d = Distance2(colour[i], centres[c]);
            if (d < best) best = d, image.Indices[i] = static_cast<uint8_t>(c + 1);
        }
    }
    return image;
}

std::vector<uint8_t> IndexedToRgba(const IndexedImage& image) {
    std::vector<uint8_t> rgba;
    for (uint8_t index : image.Indices) {
        uint32_t c = index < image.Colours.size() ? image.Colours[index] : 0;
        rgba.push_back(static_cast<uint8_t>(c));
        rgba.push_back(static_cast<uint8_t>(c >> 8));
        rgba.push_back(static_cast<uint8_t>(c >> 16));
        rgba.push_back(index ? 255 : 0);
    }
    return rgba;
}
