// quorvanel-resgen OUTPUT_DIR: makes the game's bitmaps, sounds and icon from code and writes
// them as .bmp/.wav/.ico/.png files plus resources_data.cpp, which embeds them. The same
// inputs always give the same bytes. Each bitmap is decoded again with the game's own decoder
// before it is accepted.
#include <cstdio>
#include <string>
#include <vector>

#include "display/software/bmp.h"
#include "resources/resources.h"
#include "tools/resgen/resgen.h"

namespace {

struct BitmapPlan {
    int32_t Id;
    const char* File;
    int32_t BitsPerPixel;
    uint32_t Compression;
    ArtStyle Style;
};

std::vector<BitmapPlan> Plans() {
    ArtStyle logo;
    logo.Text = "QUORVANEL";
    logo.Width = 303;
    logo.Height = 92;
    logo.Fill = {0x6AF4FF, 0x20C8FF, 0x1A80FF, 0x5A28E6};
    logo.Outline = 0x3C2828;
    logo.Shadow = 0x6E1E5A;
    logo.OutlineRadius = 3;
    logo.ShadowDepth = 5;
    logo.Slant = 0.12f;
    logo.Tracking = 0.02f;

    ArtStyle small = logo;
    small.Width = 152;
    small.Height = 46;
    small.OutlineRadius = 2;
    small.ShadowDepth = 3;

    ArtStyle gameOver;
    gameOver.Text = "GAME OVER";
    gameOver.Width = 312;
    gameOver.Height = 80;
    gameOver.Colours = 256;
    gameOver.Fill = {0xD0D0FF, 0x5050FF, 0x1414D2, 0x3C0A82};
    gameOver.Outline = 0x3C2828;
    gameOver.Shadow = 0x50141E;
    gameOver.OutlineRadius = 3;
    gameOver.ShadowDepth = 4;
    gameOver.Tracking = 0.03f;

    ArtStyle ohNo;
    ohNo.Text = "OH NO!";
    ohNo.Width = 203;
    ohNo.Height = 37;
    ohNo.Fill = {0x7DF0FF, 0x2896FF, 0x2832DC};
    ohNo.Outline = 0x3C2828;
    ohNo.Shadow = 0x461432;
    ohNo.OutlineRadius = 2;
    ohNo.ShadowDepth = 3;
    ohNo.Slant = 0.1f;
    ohNo.Tracking = 0.04f;

    ArtStyle letsGo;
    letsGo.Text = "LET'S GO!";
    letsGo.Width = 226;
    letsGo.Height = 38;
    letsGo.Fill = {0xBEFFDC, 0x50E678, 0x1EAA28};
    letsGo.Outline = 0x3C2828;
    letsGo.Shadow = 0x3C5014;
    letsGo.OutlineRadius = 2;
    letsGo.ShadowDepth = 3;
    letsGo.Slant = 0.1f;
    letsGo.Tracking = 0.03f;

    return {{111, "title.bmp", 4, BitmapRle4, logo},
            {113, "gameover.bmp", 8, BitmapRle8, gameOver},
            {118, "ohno.bmp", 4, BitmapRle4, ohNo},
            {119, "letsgo.bmp", 4, BitmapRle4, letsGo},
            {120, "logo.bmp", 4, BitmapRgb, small}};
}

struct SoundPlan {
    int32_t Id;
    const char* File;
};

const SoundPlan Sounds[] = {
    {121, "lifelost.wav"}, {122, "levelstart.wav"}, {123, "gameover.wav"}, {124, "chime.wav"}};

int32_t WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
    return std::fclose(f) == 0 && written == bytes.size();
}

void AppendArray(std::string& out, const std::string& name, const std::vector<uint8_t>& bytes) {
    out += "const uint8_t " + name + "[] = {";
    char buffer[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i % 20 == 0) out += "\n   ";
        std::snprintf(buffer, sizeof buffer, " %u,", bytes[i]);
        out += buffer;
    }
    out += "\n};\n";
}

// The decoder must give back exactly the pixels and colours that were encoded.
int32_t SameAfterDecoding(const IndexedImage& image, const std::vector<uint8_t>& dib,
                          int32_t bitsPerPixel) {
    DecodedBitmap decoded;
    std::string error;
    if (!DecodeDib(dib.data(), dib.size(), &decoded, &error)) {
        std::fprintf(stderr, "resgen: decoder refused a bitmap: %s\n", error.c_str());
        return 0;
    }
    if (decoded.Width != image.Width || decoded.Height != image.Height ||
        decoded.BitsPerPixel != bitsPerPixel || decoded.Indices != image.Indices)
        return 0;
    for (size_t i = 0; i < image.Colours.size(); ++i)
        if (decoded.Colours[i] != image.Colours[i]) return 0;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    static_assert(WindowIconSize == 32);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quorvanel-resgen OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const std::string font = FindBoldFont();
    if (font.empty()) {
        std::fprintf(stderr, "resgen: no Liberation Sans Bold font (package fonts-liberation2)\n");
        return 1;
    }

    std::string source = "// Made by quorvanel-resgen; rebuilt with the program, do not edit.\n"
                         "#include \"resources/resources.h\"\n\nnamespace {\n\n";
    std::string bitmapTable = "const ResourceEntry BitmapResources[] = {\n";
    std::string waveTable = "const ResourceEntry WaveResources[] = {\n";

    for (const BitmapPlan& plan : Plans()) {
        IndexedImage image = RenderTextArt(font, plan.Style);
        if (image.Indices.empty()) return 1;
        std::vector<uint8_t> dib = EncodeDib(image, plan.BitsPerPixel, plan.Compression);
        if (dib.empty() || !SameAfterDecoding(image, dib, plan.BitsPerPixel)) {
            std::fprintf(stderr, "resgen: bitmap %d does not survive encoding\n", plan.Id);
            return 1;
        }
        std::string preview = std::string(plan.File);
        preview = preview.substr(0, preview.size() - 4) + "-preview.png";
        if (!WriteFile(dir + plan.File, BmpFileFromDib(dib)) ||
            !WritePngRgba(dir + preview, image.Width, image.Height, IndexedToRgba(image))) {
            std::fprintf(stderr, "resgen: cannot write %s\n", plan.File);
            return 1;
        }
        std::string name = "Bitmap" + std::to_string(plan.Id);
        AppendArray(source, name, dib);
        bitmapTable +=
            "    {" + std::to_string(plan.Id) + ", " + name + ", sizeof " + name + "},\n";
    }
    for (const SoundPlan& plan : Sounds) {
        std::vector<uint8_t> wave = SynthesiseSound(plan.Id);
        if (!WriteFile(dir + plan.File, wave)) {
            std::fprintf(stderr, "resgen: cannot write %s\n", plan.File);
            return 1;
        }
        std::string name = "Wave" + std::to_string(plan.Id);
        AppendArray(source, name, wave);
        waveTable += "    {" + std::to_string(plan.Id) + ", " + name + ", sizeof " + name + "},\n";
    }
    const std::string dialogs = DialogScript();
    if (!WriteFile(dir + "dialogs.rc", std::vector<uint8_t>(dialogs.begin(), dialogs.end()))) {
        std::fprintf(stderr, "resgen: cannot write dialogs.rc\n");
        return 1;
    }
    if (!WriteFile(dir + "quorvanel.ico", BuildIco({16, 32, 48})) ||
        !WritePngRgba(dir + "quorvanel.png", 48, 48, DrawIcon(48))) {
        std::fprintf(stderr, "resgen: cannot write the icon\n");
        return 1;
    }
    for (int32_t size : AppIconSizes) {
        const std::string png = dir + "icon-" + std::to_string(size) + ".png";
        if (!WritePngRgba(png, size, size, DrawIcon(size))) {
            std::fprintf(stderr, "resgen: cannot write %s\n", png.c_str());
            return 1;
        }
    }

    // The window icon of the desktop build, 32x32 RGBA, rows top-down.
    std::vector<uint8_t> iconPixels = DrawIcon(WindowIconSize);
    AppendArray(source, "WindowIcon", iconPixels);

    source += "\n} // namespace\n\nconst uint8_t* const WindowIconRgba = WindowIcon;\n\n" +
              bitmapTable + "};\nconst uint32_t BitmapResourceCount = " +
              "sizeof BitmapResources / sizeof BitmapResources[0];\n\n" + waveTable +
              "};\nconst uint32_t WaveResourceCount = sizeof WaveResources / sizeof "
              "WaveResources[0];\n";
    const std::vector<uint8_t> bytes(source.begin(), source.end());
    return WriteFile(dir + "resources_data.cpp", bytes) ? 0 : 1;
}
