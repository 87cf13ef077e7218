// The desktop build's dialog manager: each box in its own window with a modal loop, laid
// out from its template in dialog units, driven by keyboard and mouse, and talking to its
// dialog procedure through the dialog-control services.
#include <string>
#include <vector>

#include "display/draw.h"
#include "display/software/surface.h"
#include "display/software/text.h"
#include "shell/dialogs.h"
#include "shell/sdl/sdl_shell.h"

namespace {

constexpr uint32_t Face = Rgb(192, 192, 192);
constexpr uint32_t Shadow = Rgb(128, 128, 128);
constexpr uint32_t Light = Rgb(255, 255, 255);
constexpr uint32_t Black = Rgb(0, 0, 0);
constexpr uint32_t Highlight = Rgb(0, 0, 128);
constexpr size_t EditLimit = 47; // the longest name the game keeps

struct ControlState {
    const DialogControl* Def = nullptr;
    SDL_Rect Box{}; // logical pixels
    int32_t Checked = 0;
    std::string Text;
    Surface* Picture = nullptr;
};

struct DialogWindow {
    const DialogTemplate* Template = nullptr;
    DialogProc Proc = nullptr;
    PopupWindow Popup;
    int32_t Width = 0, Height = 0;
    std::vector<ControlState> Controls;
    int32_t Focus = -1;
    int32_t Pressed = -1; // the push button held down by the mouse
    int32_t PressedInside = 0;
    size_t Caret = 0;
    int32_t AllSelected = 0; // the edit's whole text is selected: typing replaces it
    int32_t Ended = 0;
    intptr_t Result = 0;
    int32_t Dirty = 1;
};

DialogWindow& Box(DialogHandle dlg) {
    return *static_cast<DialogWindow*>(dlg);
}

ControlState* Item(DialogHandle dlg, int32_t id) {
    if (id == IdStatic) return nullptr;
    for (ControlState& c : Box(dlg).Controls)
        if (c.Def->Id == id) return &c;
    return nullptr;
}

int32_t IsRadio(const ControlState& c) {
    return c.Def->Kind == ControlKind::RadioButton;
}
int32_t IsButton(const ControlState& c) {
    return c.Def->Kind == ControlKind::PushButton || c.Def->Kind == ControlKind::DefaultPushButton;
}

// A radio group runs from a group-start button over the radio buttons that follow it.
void GroupOf(const DialogWindow& d, int32_t i, int32_t* first, int32_t* last) {
    *first = i;
    while (*first > 0 && !(d.Controls[*first].Def->Flags & ControlGroupStart) &&
           IsRadio(d.Controls[*first - 1]))
        --*first;
    *last = i;
    while (*last + 1 < static_cast<int32_t>(d.Controls.size()) && IsRadio(d.Controls[*last + 1]) &&
           !(d.Controls[*last + 1].Def->Flags & ControlGroupStart))
        ++*last;
}

// Tab order: buttons, the edit, and per radio group its selected button (or its first).
std::vector<int32_t> TabStops(const DialogWindow& d) {
    std::vector<int32_t> stops;
    for (int32_t i = 0; i < static_cast<int32_t>(d.Controls.size()); ++i) {
        const ControlState& c = d.Controls[i];
        if (IsButton(c) || c.Def->Kind == ControlKind::Edit) stops.push_back(i);
        if (!IsRadio(c) || !(c.Def->Flags & ControlGroupStart)) continue;
        int32_t first, last, pick = i;
        GroupOf(d, i, &first, &last);
        for (int32_t j = first; j <= last; ++j)
            if (d.Controls[j].Checked) pick = j;
        stops.push_back(pick);
    }
    return stops;
}

void Command(DialogWindow& d, int32_t id) {
    d.Proc(&d, WmCommand, static_cast<uintptr_t>(id) & 0xFFFFu, 0);
    d.Dirty = 1;
}

void ClickRadio(DialogWindow& d, int32_t i) {
    int32_t first, last;
    GroupOf(d, i, &first, &last);
    for (int32_t j = first; j <= last; ++j) d.Controls[j].Checked = j == i;
    d.Focus = i;
    Command(d, d.Controls[i].Def->Id);
}

int32_t DefaultButtonId(const DialogWindow& d) {
    for (const ControlState& c : d.Controls)
        if (c.Def->Kind == ControlKind::DefaultPushButton) return c.Def->Id;
    return IdOk;
}

void DrawText(Surface* s, const ControlState& c, uint32_t background) {
    const SDL_Rect& b = c.Box;
    int32_t y = b.y + (b.h - DialogFont().Height) / 2;
    switch (c.Def->Kind) {
    case ControlKind::StaticCentre:
        DrawTextCentred(s, c.Text.c_str(), background, Black, b.x + b.w / 2, b.y);
        break;
    case ControlKind::StaticRight:
        DrawTextRight(s, c.Text.c_str(), background, Black, b.x + b.w, b.y);
        break;
    case ControlKind::StaticLeft:
        DrawTextLeft(s, c.Text.c_str(), background, Black, b.x, b.y);
        break;
    case ControlKind::RadioButton:
        DrawTextLeft(s, c.Text.c_str(), background, Black, b.x + 16, y);
        break;
    default: DrawTextCentred(s, c.Text.c_str(), background, Black, b.x + b.w / 2, y); break;
    }
}

void DrawFocus(Surface* s, int32_t x, int32_t y, int32_t w, int32_t h) {
    uint32_t pixel = MapRgbToPixel(s, Black);
    for (int32_t i = 0; i < w; i += 2) {
        WritePixel(s, x + i, y, pixel);
        WritePixel(s, x + i, y + h - 1, pixel);
    }
    for (int32_t i = 0; i < h; i += 2) {
        WritePixel(s, x, y + i, pixel);
        WritePixel(s, x + w - 1, y + i, pixel);
    }
}

void DrawPicture(Surface* s, const ControlState& c) {
    const SDL_Rect& b = c.Box;
    FrameBox(s, b.x, b.y, b.w, b.h, Shadow, Light);
    if (!c.Picture) return;
    int32_t left = b.x + (b.w - c.Picture->Width) / 2, top = b.y + (b.h - c.Picture->Height) / 2;
    for (int32_t y = 0; y < c.Picture->Height; ++y)
        for (int32_t x = 0; x < c.Picture->Width; ++x) {
            int32_t dx = left + x, dy = top + y;
            if (dx <= b.x || dy <= b.y || dx >= b.x + b.w - 1 || dy >= b.y + b.h - 1) continue;
            uint32_t rgb = PixelToRgb(c.Picture, ReadPixel(c.Picture, x, y));
            WritePixel(s, dx, dy, MapRgbToPixel(s, rgb));
        }
}

void DrawRadio(Surface* s, const ControlState& c, int32_t focused) {
    const SDL_Rect& b = c.Box;
    int32_t cx = b.x + 6, cy = b.y + b.h / 2;
    // A disc of radius 5 with a dark rim, and a dot when selected.
    for (int32_t dy = -6; dy <= 6; ++dy)
        for (int32_t dx = -6; dx <= 6; ++dx) {
            int32_t r2 = dx * dx + dy * dy;
            if (r2 > 30) continue;
            uint32_t colour = r2 > 20 ? (dx + dy < 0 ? Shadow : Light) : Light;
            if (c.Checked && r2 <= 4) colour = Black;
            FillBox(s, cx + dx, cy + dy, 1, 1, colour);
        }
    DrawText(s, c, Face);
    if (focused) DrawFocus(s, b.x + 14, b.y, TextWidth(c.Text.c_str()) + 4, b.h);
}

void DrawButton(Surface* s, const ControlState& c, int32_t focused, int32_t down) {
    SDL_Rect b = c.Box;
    FillBox(s, b.x, b.y, b.w, b.h, Face);
    if (c.Def->Kind == ControlKind::DefaultPushButton || focused) {
        FrameBox(s, b.x, b.y, b.w, b.h, Black, Black);
        b = {b.x + 1, b.y + 1, b.w - 2, b.h - 2};
    }
    if (down) {
        FrameBox(s, b.x, b.y, b.w, b.h, Shadow, Shadow);
    } else {
        FrameBox(s, b.x, b.y, b.w, b.h, Light, Black);
        FrameBox(s, b.x + 1, b.y + 1, b.w - 2, b.h - 2, Face, Shadow);
    }
    ControlState label = c;
    label.Box = down ? SDL_Rect{c.Box.x + 1, c.Box.y + 1, c.Box.w, c.Box.h} : c.Box;
    DrawText(s, label, Face);
    if (focused) DrawFocus(s, c.Box.x + 4, c.Box.y + 4, c.Box.w - 8, c.Box.h - 8);
}

// The edit shows as much of its text as fits, scrolled so that the caret stays in view.
void DrawEdit(Surface* s, const ControlState& c, int32_t focused, size_t caret,
              int32_t allSelected) {
    const SDL_Rect& b = c.Box;
    FillBox(s, b.x, b.y, b.w, b.h, Light);
    FrameBox(s, b.x, b.y, b.w, b.h, Shadow, Light);
    FrameBox(s, b.x + 1, b.y + 1, b.w - 2, b.h - 2, Black, Face);
    const int32_t room = b.w - 6;
    size_t start = 0;
    while (start < caret && TextWidth(c.Text.substr(start, caret - start).c_str()) > room) ++start;
    size_t end = start;
    while (end < c.Text.size() && TextWidth(c.Text.substr(start, end + 1 - start).c_str()) <= room)
        ++end;
    int32_t y = b.y + (b.h - DialogFont().Height) / 2;
    const bool selected = focused && allSelected && !c.Text.empty();
    DrawTextLeft(s, c.Text.substr(start, end - start).c_str(), selected ? Highlight : Light,
                 selected ? Light : Black, b.x + 3, y);
    if (focused && !selected) {
        int32_t x = b.x + 3 + TextWidth(c.Text.substr(start, caret - start).c_str());
        FillBox(s, x, y, 1, DialogFont().Height, Black);
    }
}

void Render(DialogWindow& d) {
    Surface* s = d.Popup.Canvas;
    FillBox(s, 0, 0, d.Width, d.Height, Face);
    for (int32_t i = 0; i < static_cast<int32_t>(d.Controls.size()); ++i) {
        const ControlState& c = d.Controls[i];
        const SDL_Rect& b = c.Box;
        int32_t focused = i == d.Focus;
        switch (c.Def->Kind) {
        case ControlKind::Picture: DrawPicture(s, c); break;
        case ControlKind::GroupBox: {
            int32_t top = b.y + DialogFont().Height / 2;
            // An etched frame: a light line under a dark one, one pixel apart.
            FrameBox(s, b.x + 1, top + 1, b.w - 1, b.h - (top - b.y) - 1, Light, Light);
            FrameBox(s, b.x, top, b.w - 1, b.h - (top - b.y) - 1, Shadow, Shadow);
            DrawTextLeft(s, c.Text.c_str(), Face, Black, b.x + DialogFont().AverageWidth, b.y);
            break;
        }
        case ControlKind::RadioButton: DrawRadio(s, c, focused); break;
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
            DrawButton(s, c, focused, d.Pressed == i && d.PressedInside);
            break;
        case ControlKind::Edit: DrawEdit(s, c, focused, d.Caret, d.AllSelected); break;
        default: DrawText(s, c, Face); break;
        }
    }
    ShowPopupCanvas(&d.Popup);
    d.Dirty = 0;
}

int32_t HitTest(const DialogWindow& d, int32_t x, int32_t y) {
    SDL_Point p{x / Shell.Scale, y / Shell.Scale};
    for (int32_t i = 0; i < static_cast<int32_t>(d.Controls.size()); ++i) {
        const ControlState& c = d.Controls[i];
        if ((IsButton(c) || IsRadio(c) || c.Def->Kind == ControlKind::Edit) &&
            SDL_PointInRect(&p, &c.Box))
            return i;
    }
    return -1;
}

// An edit box that gains the focus by keyboard has its whole text selected, so that a
// returning player's name is replaced by typing rather than added to.
void SelectAllIfEdit(DialogWindow& d) {
    if (d.Focus < 0 || d.Controls[d.Focus].Def->Kind != ControlKind::Edit) return;
    d.Caret = d.Controls[d.Focus].Text.size();
    d.AllSelected = 1;
}

void MoveFocus(DialogWindow& d, int32_t step) {
    std::vector<int32_t> stops = TabStops(d);
    if (stops.empty()) return;
    size_t at = 0;
    for (size_t i = 0; i < stops.size(); ++i)
        if (stops[i] == d.Focus) at = i;
    at = (at + stops.size() + step) % stops.size();
    d.Focus = stops[at];
    SelectAllIfEdit(d);
}

void EditKey(DialogWindow& d, ControlState& edit, SDL_Keycode key) {
    if (d.AllSelected) {
        // A selection collapses towards the key's side, or is deleted.
        switch (key) {
        case SDLK_LEFT:
        case SDLK_HOME: d.Caret = 0; break;
        case SDLK_RIGHT:
        case SDLK_END: d.Caret = edit.Text.size(); break;
        case SDLK_BACKSPACE:
        case SDLK_DELETE:
            edit.Text.clear();
            d.Caret = 0;
            break;
        default: return;
        }
        d.AllSelected = 0;
        d.Dirty = 1;
        return;
    }
    switch (key) {
    case SDLK_LEFT:
        if (d.Caret > 0) --d.Caret;
        break;
    case SDLK_RIGHT:
        if (d.Caret < edit.Text.size()) ++d.Caret;
        break;
    case SDLK_HOME: d.Caret = 0; break;
    case SDLK_END: d.Caret = edit.Text.size(); break;
    case SDLK_BACKSPACE:
        if (d.Caret > 0) edit.Text.erase(--d.Caret, 1);
        break;
    case SDLK_DELETE:
        if (d.Caret < edit.Text.size()) edit.Text.erase(d.Caret, 1);
        break;
    default: return;
    }
    d.Dirty = 1;
}

void KeyDown(DialogWindow& d, const SDL_KeyboardEvent& k) {
    ControlState* focus = d.Focus >= 0 ? &d.Controls[d.Focus] : nullptr;
    SDL_Keycode key = k.keysym.sym;
    if (key == SDLK_TAB) {
        MoveFocus(d, (k.keysym.mod & KMOD_SHIFT) ? -1 : 1);
        d.Dirty = 1;
    } else if (key == SDLK_ESCAPE) {
        Command(d, IdCancel);
    } else if (key == SDLK_RETURN || key == SDLK_KP_ENTER) {
        Command(d, focus && IsButton(*focus) ? focus->Def->Id : DefaultButtonId(d));
    } else if (focus && focus->Def->Kind == ControlKind::Edit) {
        EditKey(d, *focus, key);
    } else if (key == SDLK_SPACE && focus) {
        if (IsButton(*focus)) Command(d, focus->Def->Id);
        if (IsRadio(*focus)) ClickRadio(d, d.Focus);
    } else if (focus && IsRadio(*focus) &&
               (key == SDLK_UP || key == SDLK_DOWN || key == SDLK_LEFT || key == SDLK_RIGHT)) {
        int32_t first, last;
        GroupOf(d, d.Focus, &first, &last);
        int32_t step = (key == SDLK_UP || key == SDLK_LEFT) ? -1 : 1;
        int32_t next = d.Focus + step;
        if (next < first) next = last;
        if (next > last) next = first;
        ClickRadio(d, next);
    }
}

void TextInput(DialogWindow& d, const char* text) {
    if (d.Focus < 0 || d.Controls[d.Focus].Def->Kind != ControlKind::Edit) return;
    std::string& value = d.Controls[d.Focus].Text;
    if (d.AllSelected && *text) {
        value.clear();
        d.Caret = 0;
        d.AllSelected = 0;
    }
    // Plain printable characters only: the title page draws the name byte by byte.
    for (const char* p = text; *p; ++p) {
        if (*p < 0x20 || *p > 0x7E || value.size() >= EditLimit) continue;
        value.insert(d.Caret++, 1, *p);
    }
    d.Dirty = 1;
}

void MouseDown(DialogWindow& d, const SDL_MouseButtonEvent& m) {
    if (m.button != SDL_BUTTON_LEFT) return;
    int32_t i = HitTest(d, m.x, m.y);
    if (i < 0) return;
    ControlState& c = d.Controls[i];
    d.Dirty = 1;
    if (IsRadio(c)) return ClickRadio(d, i);
    d.Focus = i;
    if (IsButton(c)) {
        d.Pressed = i;
        d.PressedInside = 1;
        return;
    }
    // The caret goes to the character boundary nearest the click.
    d.AllSelected = 0;
    int32_t x = m.x / Shell.Scale - c.Box.x - 3;
    d.Caret = 0;
    while (d.Caret < c.Text.size() && TextWidth(c.Text.substr(0, d.Caret + 1).c_str()) <= x)
        ++d.Caret;
}

void MouseUp(DialogWindow& d, const SDL_MouseButtonEvent& m) {
    if (m.button != SDL_BUTTON_LEFT || d.Pressed < 0) return;
    int32_t pressed = d.Pressed;
    d.Pressed = -1;
    d.Dirty = 1;
    if (HitTest(d, m.x, m.y) == pressed) Command(d, d.Controls[pressed].Def->Id);
}

void HandleDialogEvent(DialogWindow& d, const SDL_Event& e, int32_t* quitPending) {
    Uint32 own = SDL_GetWindowID(d.Popup.Window);
    switch (e.type) {
    case SDL_QUIT:
        *quitPending = 1;
        Command(d, IdCancel);
        break;
    case SDL_WINDOWEVENT:
        if (e.window.windowID == own) {
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) Command(d, IdCancel);
            if (e.window.event == SDL_WINDOWEVENT_EXPOSED) d.Dirty = 1;
        } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
            KeepMainWindowPainted();
        }
        break;
    case SDL_KEYDOWN:
        if (e.key.windowID == own) KeyDown(d, e.key);
        break;
    case SDL_TEXTINPUT:
        if (e.text.windowID == own) TextInput(d, e.text.text);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.windowID == own)
            MouseDown(d, e.button);
        else
            FocusWindow(d.Popup.Window); // the main window waits for the box
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.windowID == own) MouseUp(d, e.button);
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.windowID == own && d.Pressed >= 0) {
            int32_t inside = HitTest(d, e.motion.x, e.motion.y) == d.Pressed;
            if (inside != d.PressedInside) d.Dirty = 1;
            d.PressedInside = inside;
        }
        break;
    default: break;
    }
}

DialogProc ProcFor(int32_t id) {
    if (id == AboutDialogId) return AboutDlgProc;
    if (id == OptionsDialogId) return OptionsDlgProc;
    if (id == NameDialogId) return NameDlgProc;
    return nullptr;
}

void LayOut(DialogWindow& d) {
    const DialogFontMetrics& f = DialogFont();
    // Dialog units to pixels, rounded to the nearest pixel as a dialog manager does.
    auto px = [&](int32_t du) { return (du * f.AverageWidth + 2) / 4; };
    auto py = [&](int32_t du) { return (du * f.Height + 4) / 8; };
    d.Width = px(d.Template->Width);
    d.Height = py(d.Template->Height);
    for (int32_t i = 0; i < d.Template->ControlCount; ++i) {
        const DialogControl& def = d.Template->Controls[i];
        ControlState c;
        c.Def = &def;
        c.Box = {px(def.X), py(def.Y), px(def.W), py(def.H)};
        c.Text = def.Text;
        if (def.Kind == ControlKind::Picture) c.Picture = LoadBitmapResourceSurface(def.BitmapId);
        d.Controls.push_back(c);
    }
}

} // namespace

// The dialog-control services over a DialogWindow.
void CheckRadioButton(DialogHandle dlg, int32_t firstId, int32_t lastId, int32_t checkId) {
    for (ControlState& c : Box(dlg).Controls)
        if (c.Def->Id >= firstId && c.Def->Id <= lastId && c.Def->Id != IdStatic)
            c.Checked = c.Def->Id == checkId;
    Box(dlg).Dirty = 1;
}

int32_t IsDlgButtonChecked(DialogHandle dlg, int32_t id) {
    ControlState* c = Item(dlg, id);
    return c && c->Checked ? 1 : 0;
}

void SetDlgItemText(DialogHandle dlg, int32_t id, const char* text) {
    ControlState* c = Item(dlg, id);
    if (!c) return;
    c->Text = text;
    if (c->Def->Kind == ControlKind::Edit && c->Text.size() > EditLimit) c->Text.resize(EditLimit);
    Box(dlg).Caret = c->Text.size();
    Box(dlg).AllSelected = 0;
    Box(dlg).Dirty = 1;
}

int32_t GetDlgItemText(DialogHandle dlg, int32_t id, char* buffer, int32_t maxCount) {
    if (maxCount <= 0) return 0;
    ControlState* c = Item(dlg, id);
    size_t n = c ? c->Text.size() : 0;
    if (n > static_cast<size_t>(maxCount - 1)) n = static_cast<size_t>(maxCount - 1);
    if (n) c->Text.copy(buffer, n);
    buffer[n] = '\0';
    return static_cast<int32_t>(n);
}

void EndDialog(DialogHandle dlg, intptr_t result) {
    Box(dlg).Ended = 1;
    Box(dlg).Result = result;
}

// The frame a window manager puts round the box; none until the box has been shown.
static void BorderSizes(SDL_Window* w, int* top, int* left, int* bottom, int* right) {
    if (SDL_GetWindowBordersSize(w, top, left, bottom, right) != 0)
        *top = *left = *bottom = *right = 0;
}

DialogRect GetDialogWindowRect(DialogHandle dlg) {
    SDL_Window* w = Box(dlg).Popup.Window;
    int x, y, width, height, top, left, bottom, right;
    SDL_GetWindowPosition(w, &x, &y);
    SDL_GetWindowSize(w, &width, &height);
    BorderSizes(w, &top, &left, &bottom, &right);
    return {x - left, y - top, x + width + right, y + height + bottom};
}

DialogRect GetOwnerClientRect(DialogHandle) {
    int x = 0, y = 0, width = ScreenWidth, height = ScreenHeight;
    if (Shell.Window) {
        SDL_GetWindowPosition(Shell.Window, &x, &y);
        SDL_GetWindowSize(Shell.Window, &width, &height);
    }
    return {x, y, x + width, y + height};
}

void MoveDialog(DialogHandle dlg, int32_t left, int32_t top) {
    SDL_Window* w = Box(dlg).Popup.Window;
    int borderTop, borderLeft, borderBottom, borderRight;
    BorderSizes(w, &borderTop, &borderLeft, &borderBottom, &borderRight);
    SDL_SetWindowPosition(w, left + borderLeft, top + borderTop);
}

int32_t RunDialog(int32_t templateId) {
    DialogWindow d;
    d.Template = FindDialogTemplate(templateId);
    d.Proc = ProcFor(templateId);
    if (!d.Template || !d.Proc) return -1;
    LayOut(d);
    uint32_t flags = SDL_WINDOW_SKIP_TASKBAR;
    if (!OpenPopupWindow(&d.Popup, d.Template->Caption, SDL_WINDOWPOS_CENTERED,
                         SDL_WINDOWPOS_CENTERED, d.Width, d.Height, flags)) {
        for (ControlState& c : d.Controls)
            if (c.Picture) DestroySurface(c.Picture);
        return -1; // the caller goes on as if the box had been closed
    }
    if (Shell.Window) SDL_SetWindowModalFor(d.Popup.Window, Shell.Window);
    d.Proc(&d, WmInitDialog, 0, 0);
    std::vector<int32_t> stops = TabStops(d);
    if (!stops.empty() && d.Focus < 0) d.Focus = stops[0];
    SelectAllIfEdit(d);
    SDL_ShowWindow(d.Popup.Window);
    FocusWindow(d.Popup.Window);

    int32_t quitPending = 0;
    while (!d.Ended) {
        if (d.Dirty) Render(d);
        SDL_Event e;
        if (WaitForEvent(&e, 250)) HandleDialogEvent(d, e, &quitPending);
    }
    for (ControlState& c : d.Controls)
        if (c.Picture) DestroySurface(c.Picture);
    ClosePopupWindow(&d.Popup);
    FocusWindow(Shell.Window);
    if (quitPending) {
        SDL_Event quit{};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
    return static_cast<int32_t>(d.Result);
}
