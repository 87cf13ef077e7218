// Opening and closing a dialog box: layout from the template and the items' state.
#include "shell/popups/dialog_box.h"

#include "display/software/surface.h"
#include "shell/popups/dialog_parts.h"

namespace {

void LayOut(DialogBox& box) {
    const PopupFontMetrics& f = box.Font;
    // Dialog units to pixels, rounded to the nearest pixel as a dialog manager does.
    auto px = [&](int32_t du) { return (du * f.AverageWidth + 2) / 4; };
    auto py = [&](int32_t du) { return (du * f.Height + 4) / 8; };
    box.Width = px(box.Template->Width);
    box.Height = py(box.Template->Height);
    for (int32_t i = 0; i < box.Template->ControlCount; ++i) {
        const DialogControl& def = box.Template->Controls[i];
        DialogItem item;
        item.Def = &def;
        item.Box = {px(def.X), py(def.Y), px(def.W), py(def.H)};
        item.Text = def.Text;
        if (def.Kind == ControlKind::Picture) item.Picture = LoadPopupPicture(def.BitmapId);
        box.Items.push_back(item);
    }
}

} // namespace

DialogProc DialogProcFor(int32_t templateId) {
    if (templateId == AboutDialogId) return AboutDlgProc;
    if (templateId == OptionsDialogId) return OptionsDlgProc;
    if (templateId == NameDialogId) return NameDlgProc;
    return nullptr;
}

int32_t OpenDialogBox(DialogBox* box, int32_t templateId, const DialogScreen& screen) {
    CloseDialogBox(box);
    box->Template = FindDialogTemplate(templateId);
    box->Proc = DialogProcFor(templateId);
    if (!box->Template || !box->Proc) return 0;
    box->Screen = screen;
    if (box->Screen.Scale < 1) box->Screen.Scale = 1;
    box->Font = PopupFont();
    LayOut(*box);
    box->Canvas = CreatePopupCanvas(box->Width, box->Height);
    if (!box->Canvas) {
        CloseDialogBox(box);
        return 0;
    }
    // Until the procedure moves it, the box sits at the owner's corner.
    box->Left = screen.OwnerClient.Left + screen.Frame.Left;
    box->Top = screen.OwnerClient.Top + screen.Frame.Top;
    box->Proc(box, WmInitDialog, 0, 0);
    std::vector<int32_t> stops = TabStops(*box);
    if (!stops.empty() && box->Focus < 0) box->Focus = stops[0];
    SelectAllIfEdit(*box);
    box->Dirty = 1;
    return 1;
}

void CloseDialogBox(DialogBox* box) {
    for (DialogItem& item : box->Items) DestroySurface(item.Picture);
    DestroySurface(box->Canvas);
    box->Items.clear();
    box->Canvas = nullptr;
    box->Template = nullptr;
    box->Proc = nullptr;
    box->Focus = box->Pressed = -1;
    box->PressedInside = 0;
    box->Caret = 0;
    box->AllSelected = 0;
    box->Ended = 0;
    box->Result = 0;
    box->Dirty = 1;
}

void RadioGroupOf(const DialogBox& box, int32_t i, int32_t* first, int32_t* last) {
    const auto& items = box.Items;
    *first = i;
    while (*first > 0 && !(items[*first].Def->Flags & ControlGroupStart) &&
           IsRadio(items[*first - 1]))
        --*first;
    *last = i;
    while (*last + 1 < static_cast<int32_t>(items.size()) && IsRadio(items[*last + 1]) &&
           !(items[*last + 1].Def->Flags & ControlGroupStart))
        ++*last;
}

std::vector<int32_t> TabStops(const DialogBox& box) {
    std::vector<int32_t> stops;
    for (int32_t i = 0; i < static_cast<int32_t>(box.Items.size()); ++i) {
        const DialogItem& item = box.Items[i];
        if (IsButton(item) || IsEdit(item)) stops.push_back(i);
        if (!IsRadio(item) || !(item.Def->Flags & ControlGroupStart)) continue;
        int32_t first, last, pick = i;
        RadioGroupOf(box, i, &first, &last);
        for (int32_t j = first; j <= last; ++j)
            if (box.Items[j].Checked) pick = j;
        stops.push_back(pick);
    }
    return stops;
}

void SendCommand(DialogBox& box, int32_t id) {
    box.Proc(&box, WmCommand, static_cast<uintptr_t>(id) & 0xFFFFu, 0);
    box.Dirty = 1;
}

void SelectAllIfEdit(DialogBox& box) {
    if (box.Focus < 0 || !IsEdit(box.Items[box.Focus])) return;
    box.Caret = box.Items[box.Focus].Text.size();
    box.AllSelected = 1;
}
