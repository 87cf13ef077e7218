// Text in the one shared font, drawn by GDI on a surface's device context with an opaque
// background, and the making of that font at a size given in tenths of a point.
#include <cmath>
#include <cstring>

#include "display/directdraw/dd_display.h"
#include "display/draw.h"
#include "game/game_record.h"

HFONT TextFont = nullptr;

namespace {

int32_t DrawTextAligned(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                        int32_t x, int32_t y, UINT alignment) {
    if (!surface) return DDERR_SURFACELOST;
    HDC dc = nullptr;
    HRESULT result = surface->Dds->GetDC(&dc);
    if (result != DD_OK) return result;
    SetBkColor(dc, background);
    // Until a font is chosen the context's own font writes.
    HGDIOBJ previous = TextFont ? SelectObject(dc, TextFont) : nullptr;
    SetTextColor(dc, colour);
    SetTextAlign(dc, alignment);
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
    // Deselected again, so the font can be deleted while the surface lives on.
    if (previous) SelectObject(dc, previous);
    surface->Dds->ReleaseDC(dc);
    return result;
}

} // namespace

int32_t DrawTextLeft(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                     int32_t x, int32_t y) {
    return DrawTextAligned(surface, text, background, colour, x, y, TA_LEFT | TA_TOP);
}

int32_t DrawTextRight(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                      int32_t x, int32_t y) {
    return DrawTextAligned(surface, text, background, colour, x, y, TA_RIGHT | TA_TOP);
}

int32_t DrawTextCentred(Surface* surface, const char* text, uint32_t background, uint32_t colour,
                        int32_t x, int32_t y) {
    return DrawTextAligned(surface, text, background, colour, x, y, TA_CENTER | TA_TOP);
}

HFONT CreateTextFont(HDC dc, const char* faceName, int32_t height, int32_t width,
                     int32_t attributes, int32_t logicalResolution) {
    SaveDC(dc);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);

    float horizontalDpi, verticalDpi;
    if (logicalResolution) {
        horizontalDpi = static_cast<float>(GetDeviceCaps(dc, LOGPIXELSX));
        verticalDpi = static_cast<float>(GetDeviceCaps(dc, LOGPIXELSY));
    } else {
        horizontalDpi =
            static_cast<float>(25.4 * GetDeviceCaps(dc, HORZRES) / GetDeviceCaps(dc, HORZSIZE));
        verticalDpi =
            static_cast<float>(25.4 * GetDeviceCaps(dc, VERTRES) / GetDeviceCaps(dc, VERTSIZE));
    }
    // Tenths of a point to device pixels, then to the context's logical units.
    POINT size;
    size.x = static_cast<LONG>(width * horizontalDpi / 72);
    size.y = static_cast<LONG>(height * verticalDpi / 72);
    DPtoLP(dc, &size, 1);

    LOGFONTA description;
    ZeroMemory(&description, sizeof description);
    // Negative: a character height, not a cell height.
    description.lfHeight = -static_cast<LONG>(std::fabs(static_cast<double>(size.y)) / 10.0 + 0.5);
    description.lfWeight = (attributes & 1) ? FW_BOLD : 0;
    description.lfItalic = (attributes & 2) ? 1 : 0;
    description.lfUnderline = (attributes & 4) ? 1 : 0;
    description.lfStrikeOut = (attributes & 8) ? 1 : 0;
    description.lfCharSet = DEFAULT_CHARSET;
    if (faceName) std::strncpy(description.lfFaceName, faceName, LF_FACESIZE - 1);

    HFONT font = CreateFontIndirectA(&description);
    if (width != 0 && font && size.y != 0) {
        // A width asks for the face's own proportions stretched to it.
        HGDIOBJ previous = SelectObject(dc, font);
        TEXTMETRICA metrics;
        GetTextMetricsA(dc, &metrics);
        SelectObject(dc, previous);
        DeleteObject(font);
        description.lfWidth =
            static_cast<LONG>(metrics.tmAveCharWidth * std::fabs(static_cast<double>(size.x)) /
                                  std::fabs(static_cast<double>(size.y)) +
                              0.5);
        font = CreateFontIndirectA(&description);
    }
    RestoreDC(dc, -1);
    return font;
}

int32_t SetTextFont(Surface*, const char* faceName, int32_t tenthsOfPoint) {
    DeleteTextFont();
    auto window = static_cast<HWND>(Game.MainWindow);
    HDC dc = GetDC(window);
    TextFont = CreateTextFont(dc, faceName, tenthsOfPoint, 0, 0, 1);
    ReleaseDC(window, dc);
    return 0;
}

void DeleteTextFont() {
    if (TextFont) DeleteObject(TextFont);
    TextFont = nullptr;
}
