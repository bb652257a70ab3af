// The game world: owns every picture and sound and runs the music channel.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "engine/task.h"
#include "game/assets.h"
#include "game/modes.h"
#include "game/sub.h"
#include "platform/fmod.h"

class WorldTask final : public Task {
public:
    std::uint32_t my_textures[ASSET_IMAGE_COUNT] = {};  // OpenGL texture names by IMAGES
    FMOD_SOUND* my_sounds[ASSET_SOUND_COUNT] = {};      // sounds by SOUNDS
    long my_score = 0;                                  // points of the game in progress
    long my_highScore = 0;  // best score; loaded from the settings before Start
    Sub my_sub;
    MODES my_mode = MODE_MENU;

    static bool my_playSounds;  // effects are played only while this is on (F2)
    static bool my_playMusic;   // the music switch (F3)

    // The one music channel, for the whole process: which tune is on it, its handle, and
    // whether it is paused. tune is ASSET_SOUND_COUNT until the first tune starts.
    struct MusicState {
        int tune = ASSET_SOUND_COUNT;
        FMOD_CHANNEL* channel = nullptr;
        bool isPaused = false;
    };
    static MusicState music;

    bool Start() override;  // loads every picture and sound; false when one fails
    void Stop() override;   // frees them all
    void Update() override;

    bool LoadImages();
    SDL_Surface* LoadImage(const char* name);
    bool LoadSounds();
    void ReleaseSounds();

    // Plays the tune a mode asks for, unless it is already on; or pauses or resumes it.
    void MusicMode(MODES mode);
    void StartMusic() { MusicMode(MODE_MUSIC_START); }
    void StopMusic() { MusicMode(MODE_MUSIC_STOP); }

    // Plays an effect on a free channel, only while effects are switched on.
    void PlaySoundEffect(SOUNDS sound);
    // Plays one of three variants at random, counting from the first.
    void PlaySoundVariant(SOUNDS first);

private:
    void SetDrawingState();
    void DeleteTextures();
};
