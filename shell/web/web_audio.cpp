// The four sounds through Web Audio. Browsers let a page make sound only after the user has
// pressed a key or clicked, so the audio context is made then; a sound asked for before that
// is not heard. A new sound cuts off the one that plays, as a single-channel player does.
#include <emscripten.h>

#include <cstring>
#include <vector>

#include "resources/resources.h"
#include "shell/platform.h"
#include "shell/web/web_shell.h"
#include "shell/web/web_wave.h"

namespace {

constexpr int32_t FirstSound = 121;
constexpr int32_t SoundCount = 4;

// clang-format off
EM_JS(void, WatchForFirstGesture, (), {
    var audio = Module.quorvanelAudio = {context : null, sounds : {}, playing : null, started : 0};
    function unlock() {
        if (!audio.context) {
            var Context = window.AudioContext || window.webkitAudioContext;
            if (!Context) return;
            audio.context = new Context();
        }
        if (audio.context.state === "suspended") audio.context.resume();
    }
    [ "keydown", "mousedown", "pointerdown", "touchstart" ].forEach(
        function(type) { window.addEventListener(type, unlock, true); });
});
// clang-format on

// Samples are kept as floats; the buffer is made once a context exists to own it.
// clang-format off
EM_JS(void, KeepSound,
      (int32_t id, const int16_t* samples, int32_t frames, int32_t channels, int32_t rate), {
          var data = [];
          for (var c = 0; c < channels; ++c) {
              var out = new Float32Array(frames);
              for (var i = 0; i < frames; ++i)
                  out[i] = HEAP16[(samples >> 1) + i * channels + c] / 32768;
              data.push(out);
          }
          Module.quorvanelAudio.sounds[id] = {data : data, rate : rate, buffer : null};
      });
// clang-format on

// clang-format off
EM_JS(void, StartSound, (int32_t id), {
    var audio = Module.quorvanelAudio;
    var sound = audio.sounds[id];
    if (!sound || !audio.context || audio.context.state !== "running") return;
    if (!sound.buffer) {
        sound.buffer =
            audio.context.createBuffer(sound.data.length, sound.data[0].length, sound.rate);
        sound.data.forEach(function(channel, c) { sound.buffer.copyToChannel(channel, c); });
    }
    if (audio.playing) audio.playing.stop();
    var source = audio.context.createBufferSource();
    source.buffer = sound.buffer;
    source.connect(audio.context.destination);
    source.onended = function() {
        if (audio.playing === source) audio.playing = null;
    };
    source.start();
    audio.playing = source;
    ++audio.started;
});
// clang-format on

// clang-format off
EM_JS(void, StopPlaying, (), {
    var audio = Module.quorvanelAudio;
    if (audio.playing) audio.playing.stop();
    audio.playing = null;
});
// clang-format on

} // namespace

void LoadSounds() {
    WatchForFirstGesture();
    for (int32_t id = FirstSound; id < FirstSound + SoundCount; ++id) {
        const uint8_t* bytes = nullptr;
        uint32_t size = 0;
        WaveSound sound;
        if (!FindWaveResource(id, &bytes, &size) || !ReadWave(bytes, size, &sound)) {
            DebugOutput("PlaySoundResource: a sound resource is not a usable WAVE.\n");
            continue;
        }
        // The resource's samples lie at an even offset of the program's data only by chance;
        // the sound is read from an aligned copy.
        std::vector<int16_t> samples(static_cast<size_t>(sound.FrameCount) * sound.Channels);
        std::memcpy(samples.data(), sound.Samples, samples.size() * 2);
        KeepSound(id, samples.data(), static_cast<int32_t>(sound.FrameCount), sound.Channels,
                  sound.SampleRate);
    }
}

void PlaySoundResource(int32_t resourceId) {
    StartSound(resourceId);
}

void StopSound() {
    StopPlaying();
}
