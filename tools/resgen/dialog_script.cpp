// The DIALOG statements of the Windows resource script, written from the dialog templates,
// so the Windows dialogs and the desktop build's dialog windows have one description. Every
// control is a generic CONTROL statement with its complete style, so nothing depends on the
// defaults the resource compiler gives its shorthand statements.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "shell/dialogs.h"
#include "tools/resgen/resgen.h"

namespace {

// Window and control styles, with the values the Windows headers give them.
constexpr uint32_t ChildVisible = 0x50000000u; // WS_CHILD | WS_VISIBLE
constexpr uint32_t Group = 0x00020000u;        // WS_GROUP
constexpr uint32_t TabStop = 0x00010000u;      // WS_TABSTOP
constexpr uint32_t Border = 0x00800000u;       // WS_BORDER

struct ControlClass {
    const char* Name;
    uint32_t Style;
};

ControlClass ClassOf(const DialogControl& c) {
    uint32_t flags = 0;
    if (c.Flags & ControlGroupStart) flags |= Group;
    if (c.Flags & ControlTabStop) flags |= TabStop;
    switch (c.Kind) {
    // SS_BITMAP | SS_CENTERIMAGE | SS_SUNKEN
    case ControlKind::Picture: return {"Static", ChildVisible | 0x0000120Eu};
    // Static texts (SS_LEFT, SS_CENTER, SS_RIGHT) close a radio group.
    case ControlKind::StaticLeft: return {"Static", ChildVisible | Group | 0x0u};
    case ControlKind::StaticCentre: return {"Static", ChildVisible | Group | 0x1u};
    case ControlKind::StaticRight: return {"Static", ChildVisible | Group | 0x2u};
    case ControlKind::GroupBox: return {"Button", ChildVisible | flags | 0x7u};
    case ControlKind::RadioButton: return {"Button", ChildVisible | flags | 0x9u};
    case ControlKind::PushButton: return {"Button", ChildVisible | flags | 0x0u};
    case ControlKind::DefaultPushButton: return {"Button", ChildVisible | flags | 0x1u};
    // ES_AUTOHSCROLL, bordered
    case ControlKind::Edit: return {"Edit", ChildVisible | Border | flags | 0x80u};
    }
    return {"Static", ChildVisible};
}

// A quoted resource-script string: a quote inside is doubled.
std::string Quoted(const char* text) {
    std::string out = "\"";
    for (const char* p = text; *p; ++p) out += *p == '"' ? std::string("\"\"") : std::string(1, *p);
    return out + "\"";
}

std::string Line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Line(const char* format, ...) {
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

} // namespace

std::string DialogScript() {
    std::string out = "// Made by quorvanel-resgen from the dialog templates; do not edit.\n";
    for (const DialogTemplate* t :
         {&AboutDialogTemplate, &OptionsDialogTemplate, &NameDialogTemplate}) {
        out += Line("\n%d DIALOG 0, 0, %d, %d\nSTYLE 0x%08X\n", static_cast<int>(t->Id), t->Width,
                    t->Height, t->Style);
        out += "CAPTION " + Quoted(t->Caption) + "\n";
        out += Line("FONT %d, ", static_cast<int>(t->FontPoints)) + Quoted(t->FontName) + "\n";
        out += "BEGIN\n";
        for (int32_t i = 0; i < t->ControlCount; ++i) {
            const DialogControl& c = t->Controls[i];
            const ControlClass cls = ClassOf(c);
            // A picture's text is the number of its bitmap resource.
            std::string text =
                c.Kind == ControlKind::Picture ? std::to_string(c.BitmapId) : Quoted(c.Text);
            out += "    CONTROL " + text +
                   Line(", %d, \"%s\", 0x%08X, %d, %d, %d, %d\n", static_cast<int>(c.Id), cls.Name,
                        cls.Style, c.X, c.Y, c.W, c.H);
        }
        out += "END\n";
    }
    return out;
}
