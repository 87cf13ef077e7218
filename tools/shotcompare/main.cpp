// quorvanel-shotcompare: compares the Linux build's pictures of a screen with the Windows
// build's, pixel for pixel outside the moving objects; see shot_compare.h.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/shotcompare/shot_compare.h"

namespace {

const char* Usage =
    "Usage: quorvanel-shotcompare [options] --linux A.png[,B.png...] --windows C.png[,D.png...]\n"
    "Compares the Linux build's pictures of one screen with the Windows build's, pixel for\n"
    "pixel. Each side gives the same screen a moment apart; pixels that change between the\n"
    "pictures of either side belong to moving objects and are left out.\n"
    "\n"
    "  --skip X,Y,W,H     leave out this rectangle too (repeatable)\n"
    "  --shown GRID.png   the Linux pictures are of an 8-bit display with the 3-3-2 palette;\n"
    "                     GRID.png is a screenshot of ddprobe's window, which gives the colour\n"
    "                     the Windows build's desktop shows for each entry\n"
    "  --max-moving N     fail when more than N pixels change (default 3000)\n"
    "  --min-lit N        fail when fewer than N non-black pixels are compared (default 1000)\n"
    "\n"
    "Exit codes: 0 the pictures agree, 1 they differ (every differing pixel is listed),\n"
    "2 bad usage or unreadable pictures.\n";

int32_t ReadList(const std::string& list, std::vector<Picture>* shots) {
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        Picture shot;
        const std::string path = list.substr(start, end - start);
        if (!ReadPicture(path, &shot)) {
            std::fprintf(stderr, "quorvanel-shotcompare: cannot read %s\n", path.c_str());
            return 0;
        }
        shots->push_back(std::move(shot));
        start = end + 1;
    }
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<Picture> linuxShots, windowsShots;
    CompareRules rules;
    int32_t maxMoving = 3000, minLit = 1000;
    for (int32_t i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help") {
            std::fputs(Usage, stdout);
            return 0;
        }
        if (i + 1 >= argc) {
            std::fputs(Usage, stderr);
            return 2;
        }
        const char* value = argv[++i];
        if (option == "--linux" || option == "--windows") {
            if (!ReadList(value, option == "--linux" ? &linuxShots : &windowsShots)) return 2;
        } else if (option == "--skip") {
            SkipArea a;
            if (std::sscanf(value, "%d,%d,%d,%d", &a.X, &a.Y, &a.Width, &a.Height) != 4) {
                std::fprintf(stderr, "quorvanel-shotcompare: bad area %s\n", value);
                return 2;
            }
            rules.Skip.push_back(a);
        } else if (option == "--shown") {
            Picture grid;
            if (!ReadPicture(value, &grid) || !ShownColoursFromGrid(grid, rules.Shown)) {
                std::fprintf(stderr, "quorvanel-shotcompare: no palette grid in %s\n", value);
                return 2;
            }
            CubePalette(rules.Palette);
            rules.Mapped = 1;
        } else if (option == "--max-moving") {
            maxMoving = std::atoi(value);
        } else if (option == "--min-lit") {
            minLit = std::atoi(value);
        } else {
            std::fputs(Usage, stderr);
            return 2;
        }
    }
    if (linuxShots.empty() || windowsShots.empty()) {
        std::fputs(Usage, stderr);
        return 2;
    }
    const Comparison c = ComparePictures(linuxShots, windowsShots, rules);
    if (!c.Error.empty()) {
        std::fprintf(stderr, "quorvanel-shotcompare: %s\n", c.Error.c_str());
        return 2;
    }
    std::printf("%d pixels compared (%d lit), %d left out as moving, %d skipped\n", c.Compared,
                c.LitCompared, c.Moving, c.Skipped);
    int32_t ok = 1;
    if (c.Moving > maxMoving) {
        std::printf("too much movement for a comparison: %d pixels change, at most %d expected\n",
                    c.Moving, maxMoving);
        ok = 0;
    }
    if (c.LitCompared < minLit) {
        std::printf("too little drawn to compare: %d lit pixels, at least %d expected\n",
                    c.LitCompared, minLit);
        ok = 0;
    }
    if (!c.Differences.empty()) {
        std::printf("%zu pixels differ:\n%s", c.Differences.size(),
                    DescribeDifferences(c, rules.Mapped).c_str());
        ok = 0;
    }
    return ok ? 0 : 1;
}
