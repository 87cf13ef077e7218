// The page's hooks for tests and measurements, on window:
//   quorvanelState()  the game's state, the same JSON text as quorvanel-sim --state writes
//   quorvanelStats()  the loop's figures: animation callbacks, frames run, the most frames
//                     run in one callback, page time of the first picture, time spent in
//                     frames and showing them, whether a modal box is up, and whether a
//                     scripted run is pending or active
//   quorvanelDialog() the open dialog box: its template, its client area's place on the
//                     picture and its controls' boxes in it, or null when none is open
//   quorvanelMenu()   the open right-click menu: its place on the picture and its items'
//                     commands and boxes in it, or null
//   quorvanelPlayScript(script, frames, {time, name})
//                     replays a quorvanel-sim --script text from a fresh start for that many
//                     frames on the simulator's clock; returns '' or the script's error
// Each returns null until the program has started.
(function() {
    function ready() {
        return typeof runtimeInitialized !== 'undefined' && runtimeInitialized;
    }
    window.quorvanelState = function() {
        return ready() ? UTF8ToString(_WebStateJson()) : null;
    };
    window.quorvanelStats = function() {
        return ready() ? JSON.parse(UTF8ToString(_WebStatsJson())) : null;
    };
    window.quorvanelDialog = function() {
        return ready() ? JSON.parse(UTF8ToString(_WebDialogJson())) : null;
    };
    window.quorvanelMenu = function() {
        return ready() ? JSON.parse(UTF8ToString(_WebMenuJson())) : null;
    };
    // The program waits for the page most of the time; ccall would then hand back a promise,
    // so the strings are passed by hand.
    function cString(text) {
        if (typeof text !== 'string') return 0;
        var size = lengthBytesUTF8(text) + 1;
        var copy = _malloc(size);
        stringToUTF8(text, copy, size);
        return copy;
    }
    window.quorvanelPlayScript = function(script, frames, options) {
        if (!ready()) return null;
        options = options || {};
        var text = cString(String(script)), name = cString(options.name);
        try {
            return UTF8ToString(_WebPlayScript(text, frames | 0, (options.time || 0) >>> 0, name));
        } finally {
            _free(text);
            _free(name);
        }
    };
})();
