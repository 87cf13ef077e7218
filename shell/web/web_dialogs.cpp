// The dialog boxes in the page: the platform-free dialog manager in a framed pop-up over the
// picture, centred on it as on the owner window's client area, with a modal loop that feeds
// it the page's events. No frame of the game runs until the box is closed.
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "display/draw.h"
#include "display/software/surface.h"
#include "shell/platform.h"
#include "shell/popups/dialog_box.h"
#include "shell/settings.h"
#include "shell/web/web_shell.h"

namespace {

// The frame the page draws round a box's client area: a border and a caption bar with the
// box's caption and, for a box with a window menu, a close box.
constexpr int32_t Border = 3;
constexpr int32_t CaptionHeight = 18;
constexpr int32_t CloseSize = 14;
constexpr DialogRect PageFrame = {Border, Border + CaptionHeight, Border, Border};

const DialogBox* OpenBox = nullptr; // for the page's test hook

struct FramedBox {
    DialogBox Box;
    Surface* Canvas = nullptr; // the frame with the box's canvas in it
    int32_t HasClose = 0;
};

int32_t Left(const FramedBox& f) {
    return f.Box.Left - PageFrame.Left;
}
int32_t Top(const FramedBox& f) {
    return f.Box.Top - PageFrame.Top;
}

// The close box, in the framed canvas's pixels.
PopupRect CloseBox(const FramedBox& f) {
    return {f.Canvas->Width - Border - 2 - CloseSize, Border + 2, CloseSize, CloseSize};
}

void DrawFrame(FramedBox& f) {
    Surface* s = f.Canvas;
    FillBox(s, 0, 0, s->Width, s->Height, FaceColour);
    FrameBox(s, 0, 0, s->Width, s->Height, LightColour, InkColour);
    FrameBox(s, 1, 1, s->Width - 2, s->Height - 2, FaceColour, ShadowColour);
    FillBox(s, Border, Border, s->Width - 2 * Border, CaptionHeight - 1, SelectionColour);
    UsePopupFont();
    DrawTextLeft(s, f.Box.Template->Caption, SelectionColour, LightColour, Border + 4,
                 Border + (CaptionHeight - 1 - 13) / 2 + 1);
    if (!f.HasClose) return;
    PopupRect c = CloseBox(f);
    FillBox(s, c.X, c.Y, c.W, c.H, FaceColour);
    FrameBox(s, c.X, c.Y, c.W, c.H, LightColour, InkColour);
    // The cross: two diagonals of two pixels' width.
    for (int32_t i = 3; i < c.W - 4; ++i) {
        for (int32_t dx = 0; dx < 2; ++dx) {
            FillBox(s, c.X + i + dx, c.Y + i, 1, 1, InkColour);
            FillBox(s, c.X + c.W - 2 - i - dx, c.Y + i, 1, 1, InkColour);
        }
    }
}

void Show(FramedBox& f) {
    DrawFrame(f);
    for (int32_t y = 0; y < f.Box.Height; ++y)
        for (int32_t x = 0; x < f.Box.Width; ++x)
            WritePixel(f.Canvas, PageFrame.Left + x, PageFrame.Top + y,
                       ReadPixel(f.Box.Canvas, x, y));
    ShowPopup(f.Canvas, Left(f), Top(f));
}

int32_t PopupButton(int32_t pageButton) {
    return pageButton == 0 ? MouseLeft : pageButton == 1 ? MouseMiddle : MouseRight;
}

void Deliver(FramedBox& f, const WebEvent& e) {
    switch (e.Kind) {
    case WebEventKind::KeyDown: {
        if (e.VirtualKey) FeedDialogBox(&f.Box, KeyDownEvent(e.VirtualKey, e.Modifiers));
        if (e.Character >= 0x20 && e.Character < 0x7F && !f.Box.Ended) {
            const char typed[2] = {static_cast<char>(e.Character), '\0'};
            FeedDialogBox(&f.Box, TextEvent(typed));
        }
        break;
    }
    case WebEventKind::MouseDown:
    case WebEventKind::MouseUp:
    case WebEventKind::MouseMove: {
        const int32_t x = e.X - f.Box.Left, y = e.Y - f.Box.Top;
        if (e.Kind == WebEventKind::MouseDown && f.HasClose) {
            PopupRect c = CloseBox(f);
            const int32_t fx = e.X - Left(f), fy = e.Y - Top(f);
            if (fx >= c.X && fy >= c.Y && fx < c.X + c.W && fy < c.Y + c.H) {
                FeedDialogBox(&f.Box, CloseEvent());
                break;
            }
        }
        PopupEventKind kind = e.Kind == WebEventKind::MouseDown ? PopupEventKind::MouseDown
                              : e.Kind == WebEventKind::MouseUp ? PopupEventKind::MouseUp
                                                                : PopupEventKind::MouseMove;
        FeedDialogBox(&f.Box, MouseEvent(kind, x, y, PopupButton(e.Button)));
        break;
    }
    default: break;
    }
}

} // namespace

int32_t RunDialog(int32_t templateId) {
    FramedBox f;
    DialogScreen screen;
    // The picture is the owner's client area; a box is drawn at the picture's scale.
    screen.OwnerClient = {0, 0, ScreenWidth, ScreenHeight};
    screen.Frame = PageFrame;
    if (!OpenDialogBox(&f.Box, templateId, screen)) return -1;
    f.HasClose = (f.Box.Template->Style & DialogStyleWindowMenu) != 0;
    f.Canvas = CreatePopupCanvas(f.Box.Width + PageFrame.Left + PageFrame.Right,
                                 f.Box.Height + PageFrame.Top + PageFrame.Bottom);
    if (!f.Canvas) {
        CloseDialogBox(&f.Box);
        return -1; // the caller goes on as if the box had been closed
    }
    OpenBox = &f.Box;
    Web.ModalOpen = 1;
    Web.ModalRan = 1;
    RenderDialogBox(&f.Box);
    Show(f);
    while (!f.Box.Ended) {
        WaitForAnimationFrame();
        WebEvent e;
        while (!f.Box.Ended && NextEvent(&e)) Deliver(f, e);
        if (!f.Box.Ended && RenderDialogBox(&f.Box)) Show(f);
    }
    HidePopup();
    const auto result = static_cast<int32_t>(f.Box.Result);
    OpenBox = nullptr;
    Web.ModalOpen = 0;
    DestroySurface(f.Canvas);
    CloseDialogBox(&f.Box);
    return result;
}

void ShowAboutDialog() {
    RunDialog(AboutDialogId);
}

// The page keeps what the player chose at once: there is no quitting to save it at.
void ShowOptionsDialog() {
    RunDialog(OptionsDialogId);
    if (SettingsLoaded) SaveSettings();
}

void ShowNameDialog() {
    if (!AnswerScriptedNameDialog()) RunDialog(NameDialogId);
}

// The open box for the page's test hook: its template, where its client area lies on the
// picture, and its controls with their boxes in the client area's pixels.
extern "C" EMSCRIPTEN_KEEPALIVE const char* WebDialogJson() {
    static std::string json;
    json = "null";
    if (!OpenBox) return json.c_str();
    char text[192];
    std::snprintf(text, sizeof text,
                  "{\"Template\": %d, \"Left\": %d, \"Top\": %d, \"Width\": %d, "
                  "\"Height\": %d, \"Items\": [",
                  static_cast<int>(OpenBox->Template->Id), static_cast<int>(OpenBox->Left),
                  static_cast<int>(OpenBox->Top), static_cast<int>(OpenBox->Width),
                  static_cast<int>(OpenBox->Height));
    json = text;
    for (std::size_t i = 0; i < OpenBox->Items.size(); ++i) {
        const DialogItem& item = OpenBox->Items[i];
        std::snprintf(text, sizeof text,
                      "%s{\"Id\": %d, \"X\": %d, \"Y\": %d, \"W\": %d, \"H\": %d, \"Checked\": %d}",
                      i ? ", " : "", static_cast<int>(item.Def->Id), static_cast<int>(item.Box.X),
                      static_cast<int>(item.Box.Y), static_cast<int>(item.Box.W),
                      static_cast<int>(item.Box.H), static_cast<int>(item.Checked));
        json += text;
    }
    json += "]}";
    return json.c_str();
}
