// The four sounds, played once each through an SDL audio queue. A new sound cuts off the
// one that plays, as a single-channel system player does.
#include <vector>

#include "shell/platform.h"
#include "shell/sdl/sdl_shell.h"

namespace {

constexpr int32_t FirstSound = 121;
constexpr int32_t SoundCount = 4;

SDL_AudioSpec DeviceSpec;
std::vector<uint8_t> Converted[SoundCount]; // in the device's format
int32_t ConvertedReady[SoundCount] = {};

// Decodes a WAVE resource and converts it to the device's format once.
const std::vector<uint8_t>* SoundSamples(int32_t id) {
    int32_t slot = id - FirstSound;
    if (slot < 0 || slot >= SoundCount) return nullptr;
    if (ConvertedReady[slot]) return Converted[slot].empty() ? nullptr : &Converted[slot];
    ConvertedReady[slot] = 1;
    const uint8_t* bytes = nullptr;
    uint32_t size = 0;
    if (!WaveResourceBytes(id, &bytes, &size)) return nullptr;
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    SDL_RWops* rw = SDL_RWFromConstMem(bytes, static_cast<int>(size));
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &buffer, &length)) {
        DebugOutput("PlaySoundResource: a sound resource is not a usable WAVE.\n");
        return nullptr;
    }
    SDL_AudioCVT cvt;
    int built = SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, DeviceSpec.format,
                                  DeviceSpec.channels, DeviceSpec.freq);
    if (built < 0) {
        SDL_FreeWAV(buffer);
        return nullptr;
    }
    std::vector<uint8_t>& out = Converted[slot];
    out.assign(buffer, buffer + length);
    SDL_FreeWAV(buffer);
    if (built == 1) {
        out.resize(static_cast<std::size_t>(length) * cvt.len_mult);
        cvt.buf = out.data();
        cvt.len = static_cast<int>(length);
        if (SDL_ConvertAudio(&cvt) != 0) {
            out.clear();
            return nullptr;
        }
        out.resize(cvt.len_cvt);
    }
    return &out;
}

} // namespace

void OpenAudio() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        DebugOutput("OpenAudio: no audio device; the game stays silent.\n");
        return;
    }
    SDL_AudioSpec want{};
    want.freq = 11025;
    want.format = AUDIO_S16LSB;
    want.channels = 1;
    want.samples = 512;
    SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &want, &DeviceSpec,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device == 0) {
        DebugOutput("OpenAudio: no audio device; the game stays silent.\n");
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    Shell.AudioDevice = static_cast<int32_t>(device);
    SDL_PauseAudioDevice(device, 0);
}

void CloseAudio() {
    if (Shell.AudioDevice) SDL_CloseAudioDevice(static_cast<SDL_AudioDeviceID>(Shell.AudioDevice));
    Shell.AudioDevice = 0;
}

void PlaySoundResource(int32_t resourceId) {
    if (!Shell.AudioDevice) return;
    const std::vector<uint8_t>* samples = SoundSamples(resourceId);
    auto device = static_cast<SDL_AudioDeviceID>(Shell.AudioDevice);
    SDL_ClearQueuedAudio(device);
    if (samples) SDL_QueueAudio(device, samples->data(), static_cast<Uint32>(samples->size()));
}

void StopSound() {
    if (Shell.AudioDevice) SDL_ClearQueuedAudio(static_cast<SDL_AudioDeviceID>(Shell.AudioDevice));
}
