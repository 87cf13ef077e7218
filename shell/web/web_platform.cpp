// The platform services of the browser build: the frame clock, diagnostics on the console,
// message boxes as notices in the page, links opened by the browser.
#include <emscripten.h>

#include <ctime>
#include <string>

#include "shell/demo.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/web/web_shell.h"

namespace {

// clang-format off
EM_JS(void, ConsoleLine, (const char* line), {
    // One diagnostic line, without the line break the desktop's stream needs.
    var text = UTF8ToString(line);
    console.log(text.endsWith(String.fromCharCode(10)) ? text.slice(0, -1) : text);
});
// clang-format on

// A message box does not stop the game, here as on the desktop its OK goes on; the notice
// stays until its OK is pressed.
// clang-format off
EM_JS(void, AddNotice, (const char* text, const char* caption), {
    var list = document.getElementById("notices");
    if (!list) return;
    var notice = document.createElement("div");
    notice.className = "notice";
    notice.setAttribute("role", "alertdialog");
    var title = document.createElement("strong");
    title.textContent = UTF8ToString(caption);
    var body = document.createElement("span");
    body.textContent = UTF8ToString(text).trim();
    var ok = document.createElement("button");
    ok.textContent = "OK";
    ok.addEventListener(
        "click", function() { notice.remove(); });
    notice.append(title, body, ok);
    list.append(notice);
});
// clang-format on

// clang-format off
EM_JS(void, OpenLink, (const char* url), { window.open(UTF8ToString(url), "_blank", "noopener"); });

// clang-format off
EM_JS(double, PageNow, (), { return performance.now(); });

} // namespace

double PageTime() {
    return PageNow();
}

uint32_t ReadMillisecondClock() {
    return DemoClock(Web.Pacer.Clock);
}

uint32_t CurrentTimeSeconds() {
    return DemoTime(ScriptedRunActive() ? ScriptedRunTime()
                                        : static_cast<uint32_t>(std::time(nullptr)));
}

void DebugOutput(const char* line) {
    ConsoleLine(line);
}

void ShowStopMessageBox(const char* text, const char* caption) {
    DebugOutput((std::string(caption) + ": " + text).c_str());
    AddNotice(text, caption);
}

void OpenUrl(const char* url) {
    OpenLink(url);
}

// F12 never reaches the game in a page (the browser keeps it), and a page has no window to
// close: what is left of quitting is saving.
void QuitProgram() {
    if (SettingsLoaded) SaveSettings();
}
