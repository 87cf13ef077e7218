// The page's keyboard, mouse and visibility events. The handlers only queue what came; the
// loop handles it between frames, as the desktop handles its window messages.
#include <emscripten.h>
#include <emscripten/html5.h>

#include "shell/keys.h"
#include "shell/popups/popup_events.h"
#include "shell/settings.h"
#include "shell/web/web_keymap.h"
#include "shell/web/web_shell.h"

namespace {

// Picture pixels of a point given in the page's client coordinates; the picture may be
// scaled, and a point off the picture gives coordinates beyond its edges.
// clang-format off
EM_JS(void, ClientToPicture, (int32_t cx, int32_t cy, int32_t* x, int32_t* y), {
    var canvas = document.getElementById("screen");
    var r = canvas.getBoundingClientRect();
    var sx = r.width > 0 ? canvas.width / r.width : 1;
    var sy = r.height > 0 ? canvas.height / r.height : 1;
    HEAP32[x >> 2] = Math.floor((cx - r.left) * sx);
    HEAP32[y >> 2] = Math.floor((cy - r.top) * sy);
});
// clang-format on

// Keeps the browser's own menu off the picture and the pop-ups, and saves the settings when
// the page goes away (the page's last event on a reload or a closed tab).
// clang-format off
EM_JS(void, WatchPage, (), {
    [ "screen", "popup" ].forEach(function(id) {
        var element = document.getElementById(id);
        if (element)
            element.addEventListener(
                "contextmenu", function(e) { e.preventDefault(); });
    });
    // clang-format on
    window.addEventListener(
        "pagehide", function() { _WebPageHidden(); });
});

void Queue(const WebEvent& e) {
    // A page that is never looked at again must not grow without bound.
    if (Web.Events.size() < 4096) Web.Events.push_back(e);
}

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* k, void*) {
    WebEvent e;
    e.Kind = eventType == EMSCRIPTEN_EVENT_KEYDOWN ? WebEventKind::KeyDown : WebEventKind::KeyUp;
    e.VirtualKey = VirtualKeyFromDom(k->code, k->key);
    const int32_t withCommand = k->ctrlKey || k->altKey || k->metaKey;
    e.Modifiers = (k->shiftKey ? ModifierShift : 0) | (k->ctrlKey ? ModifierControl : 0) |
                  (k->altKey ? ModifierAlt : 0);
    if (e.Kind == WebEventKind::KeyDown && !withCommand) e.Character = CharacterFromDomKey(k->key);
    if (!e.VirtualKey && !e.Character) return EM_FALSE;
    Queue(e);
    // The game's keys are the game's: no scrolling by the cursor keys and Space, no reload
    // by F5. Shortcuts with Ctrl, Alt or Meta stay the browser's.
    return withCommand ? EM_FALSE : EM_TRUE;
}

EM_BOOL OnMouse(int eventType, const EmscriptenMouseEvent* m, void*) {
    WebEvent e;
    switch (eventType) {
    case EMSCRIPTEN_EVENT_MOUSEDOWN: e.Kind = WebEventKind::MouseDown; break;
    case EMSCRIPTEN_EVENT_MOUSEUP: e.Kind = WebEventKind::MouseUp; break;
    default: e.Kind = WebEventKind::MouseMove; break;
    }
    e.Button = m->button;
    ClientToPicture(static_cast<int32_t>(m->clientX), static_cast<int32_t>(m->clientY), &e.X, &e.Y);
    // Moves only matter while a box is up (a button held, a menu item under the pointer).
    if (e.Kind != WebEventKind::MouseMove || Web.ModalOpen) Queue(e);
    return EM_FALSE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* v, void*) {
    if (v->hidden && SettingsLoaded) SaveSettings();
    return EM_FALSE;
}

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void WebPageHidden() {
    if (SettingsLoaded) SaveSettings();
}

int32_t NextEvent(WebEvent* event) {
    if (Web.Events.empty()) return 0;
    *event = Web.Events.front();
    Web.Events.pop_front();
    return 1;
}

void InstallPageHandlers() {
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_FALSE, OnKey);
    emscripten_set_keyup_callback(window, nullptr, EM_FALSE, OnKey);
    emscripten_set_mousedown_callback(window, nullptr, EM_FALSE, OnMouse);
    emscripten_set_mouseup_callback(window, nullptr, EM_FALSE, OnMouse);
    emscripten_set_mousemove_callback(window, nullptr, EM_FALSE, OnMouse);
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, OnVisibility);
    WatchPage();
}
