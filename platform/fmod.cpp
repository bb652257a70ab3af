// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fmod.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/file_access.h"

// The mixer's channel 0 is kept for samples on the music channel; effects use the rest.
struct FMOD_CHANNEL {
    FMOD_SYSTEM* system = nullptr;
    int mixerChannel = 0;          // for the music channel, where a sample would play
    FMOD_SOUND* sound = nullptr;   // what was last started here
    unsigned long startOrder = 0;  // when it was started, counted in starts; lower is older
};

struct FMOD_SOUND {
    FMOD_SYSTEM* system = nullptr;
    Mix_Music* music = nullptr;  // a module, played by the mixer's music player
    Mix_Chunk* chunk = nullptr;  // a sample
};

struct FMOD_SYSTEM {
    bool initialised = false;
    int effectChannels = 0;
    std::vector<FMOD_CHANNEL> channels;  // [0] the music channel, [1..] one per effect channel
    std::vector<FMOD_SOUND*> sounds;     // every live sound, freed at the latest on Close
    unsigned long starts = 0;            // sounds started so far
};

namespace {

const int MUSIC_SAMPLE_CHANNEL = 0;
const int OUTPUT_FREQUENCY = 44100;
const int OUTPUT_CHANNELS = 2;
const int OUTPUT_CHUNK_SIZE = 1024;  // samples per mixing pass: about 23 ms of latency
// Modules play 2.5 dB down: their loudest moments then leave room for several effects
// started together on top without the sum reaching full scale.
const int MODULE_VOLUME = MIX_MAX_VOLUME * 3 / 4;

FMOD_DEBUG_CALLBACK debugCallback = nullptr;

void Note(const std::string& message) {
    if (debugCallback) {
        debugCallback(message.c_str());
    }
}

bool OpenOutput() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) < 0) {
        return false;
    }
    if (Mix_OpenAudio(OUTPUT_FREQUENCY, AUDIO_S16SYS, OUTPUT_CHANNELS, OUTPUT_CHUNK_SIZE) < 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

// With no audio device the game still loads and checks every sound and plays in silence,
// through SDL's dummy driver.
bool OpenSilentOutput() {
    const char* asked = std::getenv("SDL_AUDIODRIVER");
    std::string previous = asked ? asked : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    bool opened = OpenOutput();
    if (asked) {
        setenv("SDL_AUDIODRIVER", previous.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
    return opened;
}

#if defined(__EMSCRIPTEN__)
// Browsers play no modules: the page carries each one rendered to Ogg Vorbis, named as the
// module but ending in .ogg, which the mixer plays as music.
const char* const MODULE_ENDING = ".xm";
const char* const BROWSER_MUSIC_ENDING = ".ogg";

std::string PlayablePath(const char* path) {
    std::string playable = path;
    size_t ending = playable.size() - std::min(playable.size(), std::strlen(MODULE_ENDING));
    if (playable.compare(ending, std::string::npos, MODULE_ENDING) == 0) {
        playable.replace(ending, std::string::npos, BROWSER_MUSIC_ENDING);
    }
    return playable;
}

bool PlaysAsMusic(const std::string& path) {
    size_t length = std::strlen(BROWSER_MUSIC_ENDING);
    return path.size() > length &&
           path.compare(path.size() - length, length, BROWSER_MUSIC_ENDING) == 0;
}
#else
const char XM_SIGNATURE[] = "Extended Module: ";

std::string PlayablePath(const char* path) {
    return path;
}

// A module plays as music whatever its name: its first bytes tell.
bool PlaysAsMusic(const std::string& path) {
    char head[sizeof XM_SIGNATURE - 1] = {};
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return false;
    }
    size_t got = std::fread(head, 1, sizeof head, file);
    std::fclose(file);
    return got == sizeof head && std::memcmp(head, XM_SIGNATURE, sizeof head) == 0;
}
#endif

// SDL_mixer marks a paused channel with the tick count of the pause, and a count of 0 reads
// as not paused: in the first millisecond after SDL's timer starts, wait for the next tick.
void PauseMixerChannel(int mixerChannel) {
    while (SDL_GetTicks() == 0) {
        SDL_Delay(1);
    }
    Mix_Pause(mixerChannel);
}

bool IsMusicChannel(const FMOD_CHANNEL* channel) {
    return channel == &channel->system->channels[0];
}

void HaltMusicChannel(FMOD_SYSTEM* system) {
    FMOD_CHANNEL& music = system->channels[0];
    if (music.sound && music.sound->music) {
        Mix_HaltMusic();
    } else if (music.sound) {
        Mix_HaltChannel(MUSIC_SAMPLE_CHANNEL);
    }
    music.sound = nullptr;
}

// Modules loop for as long as they play; a sample on the music channel plays once.
FMOD_RESULT PlayOnMusicChannel(FMOD_SYSTEM* system, FMOD_SOUND* sound, bool paused) {
    SDL_LockAudio();  // start and pause in one step, so a paused start is never heard
    HaltMusicChannel(system);
    bool started;
    if (sound->music) {
        started = Mix_PlayMusic(sound->music, -1) == 0;
        if (started && paused) {
            Mix_PauseMusic();
        }
    } else {
        started = Mix_PlayChannel(MUSIC_SAMPLE_CHANNEL, sound->chunk, 0) >= 0;
        if (started && paused) {
            PauseMixerChannel(MUSIC_SAMPLE_CHANNEL);
        }
    }
    if (started) {
        system->channels[0].sound = sound;
    }
    SDL_UnlockAudio();
    if (!started) {
        Note(std::string("Cannot play on the music channel: ") + Mix_GetError());
        return FMOD_ERR_CHANNEL_ALLOC;
    }
    return FMOD_OK;
}

// The first effect channel that plays nothing (a paused one still holds its effect), or -1.
int FreeEffectChannel(const FMOD_SYSTEM* system) {
    for (int i = 1; i <= system->effectChannels; ++i) {
        if (!Mix_Playing(i)) {
            return i;
        }
    }
    return -1;
}

// The mixer's own notion of the oldest channel goes by milliseconds, and effects started in
// the same millisecond tie; counting starts keeps the order exact.
int OldestEffectChannel(const FMOD_SYSTEM* system) {
    int oldest = 1;
    for (int i = 2; i <= system->effectChannels; ++i) {
        if (system->channels[i].startOrder < system->channels[oldest].startOrder) {
            oldest = i;
        }
    }
    return oldest;
}

// Effects share the effect channels; when all are busy, the oldest effect is cut.
FMOD_RESULT PlayOnEffectChannel(FMOD_SYSTEM* system, FMOD_SOUND* sound, bool paused,
                                FMOD_CHANNEL** channel) {
    if (!sound->chunk) {
        Note("A module can only play on the music channel");
        return FMOD_ERR_INVALID_PARAM;
    }
    SDL_LockAudio();
    int mixerChannel = FreeEffectChannel(system);
    if (mixerChannel < 0) {
        mixerChannel = OldestEffectChannel(system);
    }
    Mix_HaltChannel(mixerChannel);
    bool started = Mix_PlayChannel(mixerChannel, sound->chunk, 0) >= 0;
    if (started && paused) {
        PauseMixerChannel(mixerChannel);
    }
    SDL_UnlockAudio();
    if (!started) {
        Note(std::string("Cannot play an effect: ") + Mix_GetError());
        return FMOD_ERR_CHANNEL_ALLOC;
    }
    FMOD_CHANNEL& played = system->channels[mixerChannel];
    played.sound = sound;
    played.startOrder = ++system->starts;
    if (channel) {
        *channel = &played;
    }
    return FMOD_OK;
}

void FreeSound(FMOD_SOUND* sound) {
    FMOD_SYSTEM* system = sound->system;
    for (FMOD_CHANNEL& channel : system->channels) {
        if (channel.sound == sound) {
            if (IsMusicChannel(&channel)) {
                HaltMusicChannel(system);
            } else {
                Mix_HaltChannel(channel.mixerChannel);
            }
            channel.sound = nullptr;
        }
    }
    if (sound->music) {
        Mix_FreeMusic(sound->music);
    }
    if (sound->chunk) {
        Mix_FreeChunk(sound->chunk);
    }
    delete sound;
}

}  // namespace

void FMOD_Debug_SetCallback(FMOD_DEBUG_CALLBACK callback) {
    debugCallback = callback;
}

FMOD_RESULT FMOD_System_Create(FMOD_SYSTEM** system) {
    if (!system) {
        return FMOD_ERR_INVALID_PARAM;
    }
    *system = new (std::nothrow) FMOD_SYSTEM;
    return *system ? FMOD_OK : FMOD_ERR_MEMORY;
}

FMOD_RESULT FMOD_System_GetVersion(FMOD_SYSTEM* system, unsigned int* version) {
    if (!system || !version) {
        return FMOD_ERR_INVALID_PARAM;
    }
    *version = FMOD_VERSION;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Init(FMOD_SYSTEM* system, int maxChannels, FMOD_INITFLAGS, void*) {
    if (!system) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    if (system->initialised) {
        return FMOD_ERR_INITIALIZED;
    }
    if (maxChannels < 1) {
        return FMOD_ERR_INVALID_PARAM;
    }
    if (!OpenOutput()) {
        std::string reason = SDL_GetError();
        if (!OpenSilentOutput()) {
            Note("No audio output could be opened: " + reason);
            return FMOD_ERR_OUTPUT_INIT;
        }
        Note("No audio device could be opened (" + reason + "): the game runs without sound");
    }
    Mix_Init(MIX_INIT_MOD);
    Mix_VolumeMusic(MODULE_VOLUME);
    Mix_AllocateChannels(maxChannels + 1);
    Mix_ReserveChannels(1);
    system->effectChannels = maxChannels;
    system->channels.assign(maxChannels + 1, FMOD_CHANNEL{});
    for (int i = 0; i <= maxChannels; ++i) {
        system->channels[i].system = system;
        system->channels[i].mixerChannel = i;
    }
    system->initialised = true;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_CreateSound(FMOD_SYSTEM* system, const char* path, FMOD_MODE,
                                    FMOD_CREATESOUNDEXINFO*, FMOD_SOUND** sound) {
    if (!system || !path || !sound) {
        return FMOD_ERR_INVALID_PARAM;
    }
    *sound = nullptr;
    if (!system->initialised) {
        return FMOD_ERR_UNINITIALIZED;
    }
    std::string problem, playable = PlayablePath(path);
    if (!CanReadRegularFile(playable, problem)) {
        Note("Cannot open sound file '" + playable + "'" + (problem.empty() ? "" : ": " + problem));
        return FMOD_ERR_FILE_NOTFOUND;
    }
    FMOD_SOUND* made = new (std::nothrow) FMOD_SOUND;
    if (!made) {
        return FMOD_ERR_MEMORY;
    }
    made->system = system;
    if (PlaysAsMusic(playable)) {
        made->music = Mix_LoadMUS(playable.c_str());
    } else {
        made->chunk = Mix_LoadWAV(playable.c_str());
    }
    if (!made->music && !made->chunk) {
        Note("Cannot load sound file '" + playable + "': " + Mix_GetError());
        delete made;
        return FMOD_ERR_FORMAT;
    }
    system->sounds.push_back(made);
    *sound = made;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_PlaySound(FMOD_SYSTEM* system, FMOD_CHANNELINDEX channelId,
                                  FMOD_SOUND* sound, FMOD_BOOL paused, FMOD_CHANNEL** channel) {
    if (!system || !sound || sound->system != system) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    if (!system->initialised) {
        return FMOD_ERR_UNINITIALIZED;
    }
    if (channelId == FMOD_CHANNEL_REUSE) {
        FMOD_RESULT result = PlayOnMusicChannel(system, sound, paused != 0);
        if (result == FMOD_OK && channel) {
            *channel = &system->channels[0];
        }
        return result;
    }
    if (channelId == FMOD_CHANNEL_FREE) {
        return PlayOnEffectChannel(system, sound, paused != 0, channel);
    }
    return FMOD_ERR_INVALID_PARAM;
}

FMOD_RESULT FMOD_Channel_SetPaused(FMOD_CHANNEL* channel, FMOD_BOOL paused) {
    if (!channel || !channel->system->initialised) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    SDL_LockAudio();
    bool isModule = IsMusicChannel(channel) && channel->sound && channel->sound->music;
    if (isModule) {
        paused ? Mix_PauseMusic() : Mix_ResumeMusic();
    } else {
        paused ? PauseMixerChannel(channel->mixerChannel) : Mix_Resume(channel->mixerChannel);
    }
    SDL_UnlockAudio();
    return FMOD_OK;
}

FMOD_RESULT FMOD_Sound_Release(FMOD_SOUND* sound) {
    if (!sound) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    std::vector<FMOD_SOUND*>& sounds = sound->system->sounds;
    auto it = std::find(sounds.begin(), sounds.end(), sound);
    if (it == sounds.end()) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    sounds.erase(it);
    FreeSound(sound);
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Close(FMOD_SYSTEM* system) {
    if (!system) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    if (!system->initialised) {
        return FMOD_OK;
    }
    while (!system->sounds.empty()) {
        FMOD_SOUND* sound = system->sounds.back();
        system->sounds.pop_back();
        FreeSound(sound);
    }
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    Mix_CloseAudio();
    // No Mix_Quit: SDL_mixer 1.2 frees its sound-font paths there without forgetting them,
    // and opening the output again afterwards would read freed memory.
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    system->channels.clear();
    system->initialised = false;
    return FMOD_OK;
}

FMOD_RESULT FMOD_System_Release(FMOD_SYSTEM* system) {
    if (!system) {
        return FMOD_ERR_INVALID_HANDLE;
    }
    FMOD_RESULT result = FMOD_System_Close(system);
    delete system;
    return result;
}

const char* FMOD_ErrorString(FMOD_RESULT result) {
    switch (result) {
        case FMOD_OK:
            return "No errors.";
        case FMOD_ERR_CHANNEL_ALLOC:
            return "Error trying to allocate a channel.";
        case FMOD_ERR_FILE_NOTFOUND:
            return "File not found.";
        case FMOD_ERR_FORMAT:
            return "Unsupported file or audio format.";
        case FMOD_ERR_INITIALIZED:
            return "Cannot call this command after System::init.";
        case FMOD_ERR_INVALID_HANDLE:
            return "An invalid object handle was used.";
        case FMOD_ERR_INVALID_PARAM:
            return "An invalid parameter was passed to this function.";
        case FMOD_ERR_MEMORY:
            return "Not enough memory or resources.";
        case FMOD_ERR_OUTPUT_INIT:
            return "Error initializing output device.";
        case FMOD_ERR_UNINITIALIZED:
            return "This command failed because System::init was not called.";
        default:
            return "Unknown error.";
    }
}
