// A dialog box's keyboard and mouse: focus and Tab order, radio groups, push buttons and
// the name edit box.
#include "display/software/text.h"
#include "shell/keys.h"
#include "shell/popups/dialog_parts.h"

namespace {

void ClickRadio(DialogBox& box, int32_t i) {
    int32_t first, last;
    RadioGroupOf(box, i, &first, &last);
    for (int32_t j = first; j <= last; ++j) box.Items[j].Checked = j == i;
    box.Focus = i;
    SendCommand(box, box.Items[i].Def->Id);
}

int32_t DefaultButtonId(const DialogBox& box) {
    for (const DialogItem& item : box.Items)
        if (item.Def->Kind == ControlKind::DefaultPushButton) return item.Def->Id;
    return IdOk;
}

int32_t HitTest(const DialogBox& box, int32_t x, int32_t y) {
    for (int32_t i = 0; i < static_cast<int32_t>(box.Items.size()); ++i) {
        const DialogItem& item = box.Items[i];
        const PopupRect& b = item.Box;
        if ((IsButton(item) || IsRadio(item) || IsEdit(item)) && x >= b.X && x < b.X + b.W &&
            y >= b.Y && y < b.Y + b.H)
            return i;
    }
    return -1;
}

void MoveFocus(DialogBox& box, int32_t step) {
    std::vector<int32_t> stops = TabStops(box);
    if (stops.empty()) return;
    size_t at = 0;
    for (size_t i = 0; i < stops.size(); ++i)
        if (stops[i] == box.Focus) at = i;
    at = (at + stops.size() + step) % stops.size();
    box.Focus = stops[at];
    SelectAllIfEdit(box);
    box.Dirty = 1;
}

void EditKey(DialogBox& box, DialogItem& edit, int32_t key) {
    std::string& text = edit.Text;
    if (box.AllSelected) {
        // A selection collapses towards the key's side, or is deleted.
        switch (key) {
        case VkLeft:
        case VkHome: box.Caret = 0; break;
        case VkRight:
        case VkEnd: box.Caret = text.size(); break;
        case VkBack:
        case VkDelete:
            text.clear();
            box.Caret = 0;
            break;
        default: return;
        }
        box.AllSelected = 0;
        box.Dirty = 1;
        return;
    }
    switch (key) {
    case VkLeft:
        if (box.Caret > 0) --box.Caret;
        break;
    case VkRight:
        if (box.Caret < text.size()) ++box.Caret;
        break;
    case VkHome: box.Caret = 0; break;
    case VkEnd: box.Caret = text.size(); break;
    case VkBack:
        if (box.Caret > 0) text.erase(--box.Caret, 1);
        break;
    case VkDelete:
        if (box.Caret < text.size()) text.erase(box.Caret, 1);
        break;
    default: return;
    }
    box.Dirty = 1;
}

void KeyDown(DialogBox& box, int32_t key, uint32_t modifiers) {
    DialogItem* focus = box.Focus >= 0 ? &box.Items[box.Focus] : nullptr;
    if (key == VkTab) {
        MoveFocus(box, (modifiers & ModifierShift) ? -1 : 1);
    } else if (key == VkEscape) {
        SendCommand(box, IdCancel);
    } else if (key == VkReturn) {
        SendCommand(box, focus && IsButton(*focus) ? focus->Def->Id : DefaultButtonId(box));
    } else if (focus && IsEdit(*focus)) {
        EditKey(box, *focus, key);
    } else if (key == VkSpace && focus) {
        if (IsButton(*focus)) SendCommand(box, focus->Def->Id);
        if (IsRadio(*focus)) ClickRadio(box, box.Focus);
    } else if (focus && IsRadio(*focus) &&
               (key == VkUp || key == VkDown || key == VkLeft || key == VkRight)) {
        // The arrows choose within the group, round from its last button to its first.
        int32_t first, last;
        RadioGroupOf(box, box.Focus, &first, &last);
        int32_t next = box.Focus + ((key == VkUp || key == VkLeft) ? -1 : 1);
        if (next < first) next = last;
        if (next > last) next = first;
        ClickRadio(box, next);
    }
}

void TextInput(DialogBox& box, const char* typed) {
    if (box.Focus < 0 || !IsEdit(box.Items[box.Focus]) || !typed) return;
    std::string& text = box.Items[box.Focus].Text;
    if (box.AllSelected && *typed) {
        text.clear();
        box.Caret = 0;
        box.AllSelected = 0;
    }
    // Plain printable characters only: the title page draws the name byte by byte.
    for (const char* p = typed; *p; ++p) {
        if (*p < 0x20 || *p > 0x7E || text.size() >= DialogEditLimit) continue;
        text.insert(box.Caret++, 1, *p);
    }
    box.Dirty = 1;
}

void MouseDown(DialogBox& box, const PopupEvent& e) {
    if (e.Button != MouseLeft) return;
    int32_t i = HitTest(box, e.X, e.Y);
    if (i < 0) return;
    DialogItem& item = box.Items[i];
    box.Dirty = 1;
    if (IsRadio(item)) return ClickRadio(box, i);
    box.Focus = i;
    if (IsButton(item)) {
        box.Pressed = i;
        box.PressedInside = 1;
        return;
    }
    // The caret goes to the character boundary left of the click's column.
    box.AllSelected = 0;
    const int32_t x = e.X - item.Box.X - 3;
    box.Caret = 0;
    while (box.Caret < item.Text.size() &&
           TextWidth(std::string_view(item.Text).substr(0, box.Caret + 1)) <= x)
        ++box.Caret;
}

void MouseUp(DialogBox& box, const PopupEvent& e) {
    if (e.Button != MouseLeft || box.Pressed < 0) return;
    int32_t pressed = box.Pressed;
    box.Pressed = -1;
    box.Dirty = 1;
    if (HitTest(box, e.X, e.Y) == pressed) SendCommand(box, box.Items[pressed].Def->Id);
}

void MouseMove(DialogBox& box, const PopupEvent& e) {
    if (box.Pressed < 0) return;
    // A held button shows pressed only while the pointer is over it.
    int32_t inside = HitTest(box, e.X, e.Y) == box.Pressed;
    if (inside != box.PressedInside) box.Dirty = 1;
    box.PressedInside = inside;
}

} // namespace

void FeedDialogBox(DialogBox* box, const PopupEvent& event) {
    if (!box->Template || box->Ended) return;
    // The edit measures its text in the dialog font.
    UsePopupFont();
    switch (event.Kind) {
    case PopupEventKind::KeyDown: KeyDown(*box, event.Key, event.Modifiers); break;
    case PopupEventKind::Text: TextInput(*box, event.Text); break;
    case PopupEventKind::MouseDown: MouseDown(*box, event); break;
    case PopupEventKind::MouseUp: MouseUp(*box, event); break;
    case PopupEventKind::MouseMove: MouseMove(*box, event); break;
    case PopupEventKind::Close: SendCommand(*box, IdCancel); break;
    }
}
