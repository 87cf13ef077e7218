// Outlined rectangles and one-pixel lines, drawn by GDI on a surface's device context. Pens
// and brushes are made and deleted per call: these draw screens, not moving objects.
#include "display/directdraw/dd_display.h"
#include "display/draw.h"

int32_t DrawRectangle(Surface* surface, uint32_t pen, int32_t x, int32_t y, int32_t width,
                      int32_t height, int32_t penWidth) {
    if (!surface) return DDERR_SURFACELOST;
    HDC dc = nullptr;
    HRESULT result = surface->Dds->GetDC(&dc);
    if (result != DD_OK) return result;
    HPEN outline = CreatePen(PS_SOLID, penWidth, pen);
    HBRUSH inside = CreateSolidBrush(RGB(0, 0, 0));
    HGDIOBJ previousPen = SelectObject(dc, outline);
    HGDIOBJ previousBrush = SelectObject(dc, inside);
    SetBkColor(dc, RGB(0, 0, 0));
    SetROP2(dc, R2_COPYPEN);
    Rectangle(dc, x, y, x + width, y + height);
    SelectObject(dc, previousBrush);
    SelectObject(dc, previousPen);
    DeleteObject(inside);
    DeleteObject(outline);
    surface->Dds->ReleaseDC(dc);
    return result;
}

int32_t DrawLine(Surface* surface, uint32_t pen, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (!surface) return DDERR_SURFACELOST;
    HDC dc = nullptr;
    HRESULT result = surface->Dds->GetDC(&dc);
    if (result != DD_OK) return result;
    HPEN line = CreatePen(PS_SOLID, 1, pen);
    SelectObject(dc, line);
    SetBkColor(dc, RGB(0, 0, 0));
    SetROP2(dc, R2_COPYPEN);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    DeleteObject(line);
    surface->Dds->ReleaseDC(dc);
    return result;
}
