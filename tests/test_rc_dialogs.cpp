// The Windows resource script's dialog boxes against the dialog templates in the code: the
// script is written by hand, so this reads its DIALOG statements the way the resource
// compiler does (default styles of each statement included) and compares them with the
// templates control by control.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "shell/dialogs.h"

// The templates live beside the dialog procedures, which need these services; nothing here
// runs a procedure.
void CheckRadioButton(DialogHandle, int32_t, int32_t, int32_t) {
    ADD_FAILURE() << "no dialog procedure runs in this test";
}
int32_t IsDlgButtonChecked(DialogHandle, int32_t) {
    ADD_FAILURE() << "no dialog procedure runs in this test";
    return 0;
}
void SetDlgItemText(DialogHandle, int32_t, const char*) {
    ADD_FAILURE() << "no dialog procedure runs in this test";
}
int32_t GetDlgItemText(DialogHandle, int32_t, char*, int32_t) {
    ADD_FAILURE() << "no dialog procedure runs in this test";
    return 0;
}
void EndDialog(DialogHandle, intptr_t) {
    ADD_FAILURE() << "no dialog procedure runs in this test";
}
DialogRect GetDialogWindowRect(DialogHandle) {
    return {};
}
DialogRect GetOwnerClientRect(DialogHandle) {
    return {};
}
void MoveDialog(DialogHandle, int32_t, int32_t) {}

namespace {

// The Windows constants the script may use, with their documented values.
const std::map<std::string, uint32_t> Symbols = {
    {"IDOK", 1},
    {"IDCANCEL", 2},
    {"WS_POPUP", 0x80000000u},
    {"WS_CHILD", 0x40000000u},
    {"WS_VISIBLE", 0x10000000u},
    {"WS_CAPTION", 0x00C00000u},
    {"WS_BORDER", 0x00800000u},
    {"WS_SYSMENU", 0x00080000u},
    {"WS_GROUP", 0x00020000u},
    {"WS_TABSTOP", 0x00010000u},
    {"DS_MODALFRAME", 0x80u},
    {"SS_LEFT", 0x0u},
    {"SS_CENTER", 0x1u},
    {"SS_RIGHT", 0x2u},
    {"SS_BITMAP", 0xEu},
    {"SS_CENTERIMAGE", 0x200u},
    {"SS_SUNKEN", 0x1000u},
    {"BS_PUSHBUTTON", 0x0u},
    {"BS_DEFPUSHBUTTON", 0x1u},
    {"BS_GROUPBOX", 0x7u},
    {"BS_AUTORADIOBUTTON", 0x9u},
    {"ES_LEFT", 0x0u},
    {"ES_AUTOHSCROLL", 0x80u},
};

constexpr uint32_t WsChildVisible = 0x40000000u | 0x10000000u;
constexpr uint32_t WsGroup = 0x00020000u, WsTabStop = 0x00010000u, WsBorder = 0x00800000u;

struct Token {
    enum Kind { Word, Number, String, Comma, Bar, End } Type = End;
    std::string Text;
    int64_t Value = 0;
};

// Resource-script tokens; comments and preprocessor lines are skipped, a doubled quote
// inside a string is one quote.
std::vector<Token> Tokenise(const std::string& source) {
    std::vector<Token> tokens;
    size_t i = 0;
    bool lineStart = true;
    while (i < source.size()) {
        char c = source[i];
        if (c == '\n') {
            lineStart = true;
            ++i;
            continue;
        }
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (lineStart && c == '#') {
            while (i < source.size() && source[i] != '\n') ++i;
            continue;
        }
        lineStart = false;
        if (source.compare(i, 2, "//") == 0) {
            while (i < source.size() && source[i] != '\n') ++i;
            continue;
        }
        if (source.compare(i, 2, "/*") == 0) {
            size_t end = source.find("*/", i + 2);
            i = end == std::string::npos ? source.size() : end + 2;
            continue;
        }
        Token t;
        if (c == ',' || c == '|') {
            t.Type = c == ',' ? Token::Comma : Token::Bar;
            ++i;
        } else if (c == '"') {
            t.Type = Token::String;
            ++i;
            while (i < source.size()) {
                if (source[i] == '"' && i + 1 < source.size() && source[i + 1] == '"') {
                    t.Text += '"';
                    i += 2;
                } else if (source[i] == '"') {
                    ++i;
                    break;
                } else {
                    t.Text += source[i++];
                }
            }
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '-' && i + 1 < source.size() &&
                    std::isdigit(static_cast<unsigned char>(source[i + 1])))) {
            t.Type = Token::Number;
            size_t used = 0;
            t.Value = std::stoll(source.substr(i), &used, 0);
            t.Text = source.substr(i, used);
            i += used;
            if (i < source.size() && (source[i] == 'L' || source[i] == 'l')) ++i;
        } else if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            t.Type = Token::Word;
            while (i < source.size() &&
                   (std::isalnum(static_cast<unsigned char>(source[i])) || source[i] == '_'))
                t.Text += source[i++];
        } else {
            t.Type = Token::Word; // anything else stays visible to the parser as an error
            t.Text = std::string(1, c);
            ++i;
        }
        tokens.push_back(t);
    }
    return tokens;
}

struct ScriptControl {
    std::string Statement;
    std::string Text;
    int32_t Ordinal = -1; // a CONTROL whose text is a resource number
    int32_t Id = 0;
    std::string Class;
    uint32_t Style = 0;
    int32_t X = 0, Y = 0, W = 0, H = 0;
};

struct ScriptDialog {
    int32_t Id = 0;
    int32_t Width = 0, Height = 0;
    uint32_t Style = 0;
    std::string Caption;
    int32_t FontPoints = 0;
    std::string FontName;
    std::vector<ScriptControl> Controls;
};

struct Script {
    std::vector<ScriptDialog> Dialogs;
    std::vector<std::string> Errors;
};

class Parser {
  public:
    explicit Parser(std::vector<Token> tokens) : Tokens(std::move(tokens)) {}

    Script Parse() {
        Script script;
        while (Peek().Type != Token::End) {
            if (Peek().Type == Token::Number && Peek(1).Type == Token::Word &&
                (Peek(1).Text == "DIALOG" || Peek(1).Text == "DIALOGEX")) {
                ScriptDialog dialog;
                if (ParseDialog(&dialog))
                    script.Dialogs.push_back(dialog);
                else
                    break;
            } else {
                ++At;
            }
        }
        script.Errors = Errors;
        return script;
    }

  private:
    std::vector<Token> Tokens;
    size_t At = 0;
    std::vector<std::string> Errors;

    const Token& Peek(size_t ahead = 0) const {
        static const Token end;
        return At + ahead < Tokens.size() ? Tokens[At + ahead] : end;
    }
    Token Next() {
        Token t = Peek();
        if (At < Tokens.size()) ++At;
        return t;
    }
    bool Error(const std::string& what) {
        Errors.push_back(what + " (near \"" + Peek().Text + "\")");
        return false;
    }
    bool Comma() {
        if (Next().Type == Token::Comma) return true;
        return Error("comma expected");
    }
    bool Integer(int32_t* value) {
        Token t = Next();
        if (t.Type == Token::Number) {
            *value = static_cast<int32_t>(t.Value);
            return true;
        }
        if (t.Type == Token::Word && Symbols.count(t.Text)) {
            *value = static_cast<int32_t>(Symbols.at(t.Text));
            return true;
        }
        return Error("number expected, got \"" + t.Text + "\"");
    }
    bool Text(std::string* text) {
        Token t = Next();
        if (t.Type == Token::String) {
            *text = t.Text;
            return true;
        }
        return Error("string expected");
    }
    // A style: terms joined by |, each a number or a symbol, NOT clearing what it names.
    bool Style(uint32_t* style) {
        for (;;) {
            bool clear = false;
            if (Peek().Type == Token::Word && Peek().Text == "NOT") {
                clear = true;
                Next();
            }
            Token t = Next();
            uint32_t value = 0;
            if (t.Type == Token::Number)
                value = static_cast<uint32_t>(t.Value);
            else if (t.Type == Token::Word && Symbols.count(t.Text))
                value = Symbols.at(t.Text);
            else
                return Error("unknown style \"" + t.Text + "\"");
            *style = clear ? *style & ~value : *style | value;
            if (Peek().Type != Token::Bar) return true;
            Next();
        }
    }
    bool Rectangle(ScriptControl* c) {
        return Integer(&c->X) && Comma() && Integer(&c->Y) && Comma() && Integer(&c->W) &&
               Comma() && Integer(&c->H);
    }
    // An optional trailing style after the rectangle, added to the statement's defaults.
    bool OptionalStyle(uint32_t* style) {
        if (Peek().Type != Token::Comma) return true;
        Next();
        return Style(style);
    }

    bool ParseControl(ScriptControl* c) {
        c->Statement = Next().Text;
        const std::string& s = c->Statement;
        c->Style = WsChildVisible;
        if (s == "CONTROL") {
            if (Peek().Type == Token::Number)
                c->Ordinal = static_cast<int32_t>(Next().Value);
            else if (!Text(&c->Text))
                return false;
            uint32_t style = 0;
            if (!(Comma() && Integer(&c->Id) && Comma() && Text(&c->Class) && Comma() &&
                  Style(&style) && Comma() && Rectangle(c)))
                return false;
            c->Style |= style;
            return true;
        }
        if (s == "EDITTEXT") {
            c->Class = "Edit";
            c->Style |= Symbols.at("ES_LEFT") | WsBorder | WsTabStop;
            return Integer(&c->Id) && Comma() && Rectangle(c) && OptionalStyle(&c->Style);
        }
        static const std::map<std::string, std::pair<const char*, uint32_t>> textStatements = {
            {"LTEXT", {"Static", 0x0u | WsGroup}},
            {"CTEXT", {"Static", 0x1u | WsGroup}},
            {"RTEXT", {"Static", 0x2u | WsGroup}},
            {"GROUPBOX", {"Button", 0x7u}},
            {"PUSHBUTTON", {"Button", 0x0u | WsTabStop}},
            {"DEFPUSHBUTTON", {"Button", 0x1u | WsTabStop}},
            {"AUTORADIOBUTTON", {"Button", 0x9u | WsTabStop}},
        };
        auto known = textStatements.find(s);
        if (known == textStatements.end()) return Error("unknown control statement " + s);
        c->Class = known->second.first;
        c->Style |= known->second.second;
        return Text(&c->Text) && Comma() && Integer(&c->Id) && Comma() && Rectangle(c) &&
               OptionalStyle(&c->Style);
    }

    bool ParseDialog(ScriptDialog* d) {
        d->Id = static_cast<int32_t>(Next().Value);
        if (Next().Text != "DIALOG") return Error("only DIALOG statements are expected");
        int32_t x = 0, y = 0;
        if (!(Integer(&x) && Comma() && Integer(&y) && Comma() && Integer(&d->Width) && Comma() &&
              Integer(&d->Height)))
            return false;
        for (;;) {
            Token t = Next();
            if (t.Type != Token::Word) return Error("dialog option expected");
            if (t.Text == "BEGIN") break;
            if (t.Text == "STYLE") {
                if (!Style(&d->Style)) return false;
            } else if (t.Text == "CAPTION") {
                if (!Text(&d->Caption)) return false;
            } else if (t.Text == "FONT") {
                if (!(Integer(&d->FontPoints) && Comma() && Text(&d->FontName))) return false;
            } else {
                return Error("unexpected dialog option " + t.Text);
            }
        }
        while (!(Peek().Type == Token::Word && Peek().Text == "END")) {
            if (Peek().Type == Token::End) return Error("END missing");
            ScriptControl c;
            if (!ParseControl(&c)) return false;
            d->Controls.push_back(c);
        }
        Next();
        return true;
    }
};

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The class and the complete style a control of the template needs in the script.
std::pair<std::string, uint32_t> ExpectedClassAndStyle(const DialogControl& c) {
    uint32_t flags = 0;
    if (c.Flags & ControlGroupStart) flags |= WsGroup;
    if (c.Flags & ControlTabStop) flags |= WsTabStop;
    switch (c.Kind) {
    case ControlKind::Picture: return {"STATIC", WsChildVisible | 0xEu | 0x200u | 0x1000u};
    // Static texts close a group, as the resource compiler makes them.
    case ControlKind::StaticLeft: return {"STATIC", WsChildVisible | 0x0u | WsGroup};
    case ControlKind::StaticCentre: return {"STATIC", WsChildVisible | 0x1u | WsGroup};
    case ControlKind::StaticRight: return {"STATIC", WsChildVisible | 0x2u | WsGroup};
    case ControlKind::GroupBox: return {"BUTTON", WsChildVisible | 0x7u | flags};
    case ControlKind::RadioButton: return {"BUTTON", WsChildVisible | 0x9u | flags};
    case ControlKind::PushButton: return {"BUTTON", WsChildVisible | 0x0u | flags};
    case ControlKind::DefaultPushButton: return {"BUTTON", WsChildVisible | 0x1u | flags};
    case ControlKind::Edit: return {"EDIT", WsChildVisible | 0x80u | WsBorder | flags};
    }
    return {"?", 0};
}

std::string Hex(uint32_t v) {
    std::ostringstream out;
    out << "0x" << std::hex << v;
    return out.str();
}

// Every difference between the script's dialog boxes and the templates, as readable lines.
std::vector<std::string> CompareWithTemplates(const Script& script) {
    std::vector<std::string> differences = script.Errors;
    const DialogTemplate* templates[] = {&AboutDialogTemplate, &OptionsDialogTemplate,
                                         &NameDialogTemplate};
    for (const ScriptDialog& d : script.Dialogs)
        if (!FindDialogTemplate(d.Id))
            differences.push_back("dialog " + std::to_string(d.Id) + " has no template");
    for (const DialogTemplate* t : templates) {
        const std::string name = "dialog " + std::to_string(t->Id);
        std::vector<const ScriptDialog*> found;
        for (const ScriptDialog& d : script.Dialogs)
            if (d.Id == t->Id) found.push_back(&d);
        if (found.size() != 1) {
            differences.push_back(name + " appears " + std::to_string(found.size()) + " times");
            continue;
        }
        const ScriptDialog& d = *found[0];
        auto differ = [&](const std::string& what, const std::string& script,
                          const std::string& code) {
            if (script != code)
                differences.push_back(name + ", " + what + ": script \"" + script +
                                      "\", template \"" + code + "\"");
        };
        differ("caption", d.Caption, t->Caption);
        differ("size", std::to_string(d.Width) + "x" + std::to_string(d.Height),
               std::to_string(t->Width) + "x" + std::to_string(t->Height));
        differ("style", Hex(d.Style), Hex(t->Style));
        differ("font", std::to_string(d.FontPoints) + " " + d.FontName,
               std::to_string(t->FontPoints) + " " + t->FontName);
        differ("control count", std::to_string(d.Controls.size()), std::to_string(t->ControlCount));
        for (int32_t i = 0; i < t->ControlCount && i < static_cast<int32_t>(d.Controls.size());
             ++i) {
            const DialogControl& want = t->Controls[i];
            const ScriptControl& got = d.Controls[i];
            const std::string where = "control " + std::to_string(i) + " (" + got.Statement + ")";
            auto [wantClass, wantStyle] = ExpectedClassAndStyle(want);
            differ(where + " id", std::to_string(got.Id), std::to_string(want.Id));
            differ(where + " class", Upper(got.Class), wantClass);
            differ(where + " style", Hex(got.Style), Hex(wantStyle));
            if (want.Kind == ControlKind::Picture)
                differ(where + " bitmap", std::to_string(got.Ordinal),
                       std::to_string(want.BitmapId));
            else
                differ(where + " text", got.Text, want.Text);
            differ(where + " position",
                   std::to_string(got.X) + "," + std::to_string(got.Y) + "," +
                       std::to_string(got.W) + "," + std::to_string(got.H),
                   std::to_string(want.X) + "," + std::to_string(want.Y) + "," +
                       std::to_string(want.W) + "," + std::to_string(want.H));
        }
    }
    return differences;
}

std::string ReadScript() {
    std::ifstream in(std::string(QUORVANEL_SOURCE_DIR) + "/resources/quorvanel.rc");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Differences(const std::string& source) {
    return CompareWithTemplates(Parser(Tokenise(source)).Parse());
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) all += line + "\n";
    return all;
}

// The script with its first occurrence of `from` replaced by `to`.
std::string Edited(const std::string& source, const std::string& from, const std::string& to) {
    size_t at = source.find(from);
    EXPECT_NE(at, std::string::npos) << "the script no longer holds: " << from;
    if (at == std::string::npos) return source;
    return source.substr(0, at) + to + source.substr(at + from.size());
}

} // namespace

TEST(RcDialogs, ScriptAgreesWithTheTemplates) {
    const std::string source = ReadScript();
    ASSERT_FALSE(source.empty()) << "resources/quorvanel.rc not found";
    Script script = Parser(Tokenise(source)).Parse();
    EXPECT_EQ(script.Dialogs.size(), 3u);
    std::vector<std::string> differences = CompareWithTemplates(script);
    EXPECT_TRUE(differences.empty()) << Joined(differences);
}

// The comparison must see every kind of drift, not just parse: each edit of the script
// below has to be reported.
TEST(RcDialogs, DriftInTheScriptIsReported) {
    const std::string source = ReadScript();
    ASSERT_FALSE(source.empty());
    const std::pair<std::string, std::string> edits[] = {
        {"15, 71, 31, 10", "15, 72, 31, 10"},               // a position
        {"\"15 \", 1019", "\"15\", 1019"},                  // the trailing blank
        {"\"30\", 1021", "\"30\", 1020"},                   // an id
        {"\"Fast\", 1009, \"Button\", BS_AUTORADIOBUTTON,", // a radio starting a group
         "\"Fast\", 1009, \"Button\", BS_AUTORADIOBUTTON | WS_GROUP,"},
        {"\"Yes\", 1026, \"Button\", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP",
         "\"Yes\", 1026, \"Button\", BS_AUTORADIOBUTTON | WS_GROUP"}, // a lost tab stop
        {"CAPTION \"Quorvanel Options\"", "CAPTION \"Quorvanel options\""},
        {"WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU", "WS_POPUP | WS_CAPTION | WS_SYSMENU"},
        {"CONTROL         120, 1000", "CONTROL         111, 1000"}, // another bitmap
        {"RTEXT           \"V1.05\"", "LTEXT           \"V1.05\""}, // another alignment
        {"DEFPUSHBUTTON   \"OK\", IDOK, 69", "PUSHBUTTON      \"OK\", IDOK, 69"},
        {"ES_AUTOHSCROLL | WS_GROUP", "ES_AUTOHSCROLL | NOT WS_BORDER | WS_GROUP"},
        {"FONT 8, \"MS Sans Serif\"\nBEGIN\n    CONTROL         120, -1",
         "FONT 9, \"MS Sans Serif\"\nBEGIN\n    CONTROL         120, -1"},
        {"    CTEXT           \"Please Enter Your Name:\", -1, 9, 58, 166, 8\n", ""},
        {"109 DIALOG", "110 DIALOG"},
        {"SS_SUNKEN, 26", "SS_SUNKN, 26"}, // an unknown symbol
    };
    for (const auto& [from, to] : edits) {
        SCOPED_TRACE(from + " -> " + to);
        EXPECT_FALSE(Differences(Edited(source, from, to)).empty());
    }
}
