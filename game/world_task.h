// SPDX-License-Identifier: GPL-3.0-or-later
// The game world: the ocean and everything in it, the title menu and the chase, every picture
// and sound, and the music channel.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "engine/dator.h"
#include "engine/pool.h"
#include "engine/task.h"
#include "game/assets.h"
#include "game/big_fish.h"
#include "game/billboard.h"
#include "game/camera.h"
#include "game/circle_zoom.h"
#include "game/controls.h"
#include "game/drawing.h"
#include "game/fishie.h"
#include "game/modes.h"
#include "game/replay.h"
#include "game/seed_weed.h"
#include "game/sub.h"
#include "game/world_view.h"
#include "platform/fmod.h"
#include "platform/random.h"

const int WORLD_MENU_BILLBOARDS = 5;
const int MENU_CAPTION_BILLBOARD = 3;  // the menu's cycling caption
const int WORLD_GAME_BILLBOARDS = 2;   // the paused banner, the replay's

class WorldTask final : public Task, public WorldView {
public:
    FMOD_SYSTEM* my_soundSystem = nullptr;              // the game's, for every sound call
    std::uint32_t my_textures[ASSET_IMAGE_COUNT] = {};  // OpenGL texture names by IMAGES
    ImageCoverage my_coverage[ASSET_IMAGE_COUNT];       // what of each picture shows
    FMOD_SOUND* my_sounds[ASSET_SOUND_COUNT] = {};      // sounds by SOUNDS
    long my_score = 0;                                  // points of the game in progress
    long my_lastScore = 0;  // points of the last game, shown in the menu
    long my_highScore = 0;  // best score; loaded from the settings before Start
    Camera my_camera;
    Sub my_sub;
    BigFish my_bigFish;
    Pool<Fishie> my_fishies{POOL_DEFAULT_SIZE};
    Pool<SeedWeed> my_seedWeeds{POOL_DEFAULT_SIZE};
    MODES my_mode = MODE_MENU;
    CircleZoom my_circleZoom;
    double my_chompedTime = 0.0;               // seconds since the submarine was chomped
    bool my_startPressed = false;              // Enter was taken in the menu; the circle is closing
    double my_frameTime = 0.0;                 // seconds: the step the pool callbacks use
    Dator<long>* my_highScoreDator = nullptr;  // binds my_highScore to the setting, once beaten
    Billboard my_menuBillboards[WORLD_MENU_BILLBOARDS];  // title words, caption, score labels
    Billboard my_gameBillboards[WORLD_GAME_BILLBOARDS];  // the paused banner, the replay's
    double my_menuTextTime = 0.0;                        // seconds in the caption's current phase
    bool my_menuTextShown = false;                       // the caption is in view
    bool my_greeted = false;   // the first menu has opened with how to start a game
    bool my_greeting = false;  // that caption shows now, before the cycle begins
    bool my_paused = false;
    bool my_restocking = false;  // the ocean's past is being simulated ahead of a new scene

    // Every game is recorded as it is played; the best one is kept on disk and in here.
    Replay my_recording;  // the game in progress, or a recording sent by someone
    Replay my_bestGame;   // the best game, when my_hasBestGame
    bool my_hasBestGame = false;
    bool my_offerBestGame = false;  // a new best was kept: the menu's first caption offers it
    std::string my_watchFile;       // a recording to play at the start, from the command line
    bool my_watchRefused = false;   // that recording could not be played
    // A recording played through the world: the frames are stepped at their recorded pace,
    // as many in a drawn frame as the time since the last one holds.
    struct Playback {
        const Replay* replay = nullptr;
        std::size_t cursor = 0;  // the next frame's place in the recording
        double owed = 0.0;       // seconds of real time not stepped yet
        bool active = false;     // a recording is being watched
        bool checking = false;   // stepped through at once, unseen and unheard
        bool ended = false;      // its last frame has been stepped
        bool paused = false;     // by the viewer, not by the recording
        bool pauseHeld = false;  // the viewer's pause control in the previous frame
        bool quitAtEnd = false;  // the program ends with it
    };
    Playback my_playback;
    std::uint8_t my_keysBefore[SDLK_LAST] = {};  // the keys of the previous frame, while watching
    bool my_pointerBefore = false;
    std::uint32_t my_padButtonsBefore = 0;
    bool my_watchHeld = false;      // the watch control was held in the previous frame
    bool my_escapeTaken = false;    // Escape left a replay and is still held: it quits nothing
    tobrin::Sequence my_soundDice;  // picks sound variants, never from the ocean's sequence

    bool my_playSounds = true;  // effects are played only while this is on (F2)
    bool my_playMusic = true;   // the music switch (F3)

    // The one music channel: which tune is on it, its handle, and whether it is paused. tune
    // is ASSET_SOUND_COUNT until the first tune starts.
    struct MusicState {
        int tune = ASSET_SOUND_COUNT;
        FMOD_CHANNEL* channel = nullptr;
        bool isPaused = false;
    };
    MusicState music;

    // Kept across frames, games and menu visits: the spawners' clocks, which are never reset,
    // and the play keys' state in the previous frame.
    double fishieSpawnTimer = 0.0;    // seconds towards the next school attempt
    double seedWeedSpawnTimer = 0.0;  // seconds towards the next weed attempt
    bool subGoingUp = false;          // Space was held
    Controls my_controls;             // this frame's, read before the screen's rules
    int my_padPauseButton = -1;       // a pad's pause button chosen by the player, or -1
    bool my_pausedPress = false;      // the pause key was held
    bool enterWasHeld = false;        // Enter was held
    bool enterWithAlt = false;        // the Enter held went down with Alt: no start of a game
    int direction = 1;                // +1 or -1: the side the paused banner leaves to

    WorldTask() = default;
    ~WorldTask();
    WorldTask(const WorldTask&) = delete;
    WorldTask& operator=(const WorldTask&) = delete;

    bool Start() override;  // loads every picture and sound, then opens the menu
    void Stop() override;   // frees them all
    void Update() override;

    // Mode entries.
    void SetupWorld();
    void SetupMenu();  // the end of a game, if one was on, then the menu
    void OpenMenu();
    void SetupSwim();                          // a new game, recorded from its start
    void BeginGame(const ReplayStart& start);  // the ocean of a game that starts thus
    void SetupEnterTheFish();
    void SetupChase();

    // One frame of dT seconds: the simulation and the picture, then the keys of the screen.
    void UpdateGame(double dT);    // AdvanceWorld, then DrawGame
    void AdvanceWorld(double dT);  // the frame's step of the ocean, unless paused
    void Simulate(double dT);      // the ocean's step, without drawing
    void UpdateScreen(double dT);  // UpdatePlay in a game, UpdateMenu in the menu
    void UpdateMenu(double dT);
    void UpdatePlay(double dT);
    void CheckForChomp();
    void EndGame();  // the chomped submarine's circle has closed

    // Recordings: kept, checked and watched.
    ReplayStart StartOfNewGame();
    void RecordFrame(double dT);
    void KeepBestGame();
    void LoadBestGame();
    bool LoadRecording(const std::string& path, bool followLinks);
    bool WatchRecording(const Replay& replay, bool quitAtEnd);
    bool CheckRecording(const Replay& replay);
    void StepRecordedFrame(const ReplayFrame& frame);
    bool WatchFrame(double dT);
    void FinishWatching(const char* how);
    bool ViewerPressedAny();
    void RememberViewerControls();
    bool WatchWanted();
    bool PointerOnCaption() const;
    bool CaptionOffersBestGame() const;  // in whichever control's words

    // Population.
    void SpawnFishie(double seconds);
    void SpawnSeedWeed(double seconds);
    void RestockWorld();

    // Pictures, sounds and music.
    bool LoadImages();
    void ReleaseImages();
    SDL_Surface* LoadImage(const char* name);
    bool LoadSounds();
    void ReleaseSounds();
    // Plays the tune a mode asks for, unless it is already on; or pauses or resumes it.
    void MusicMode(MODES mode);
    void StartMusic() { MusicMode(MODE_MUSIC_START); }
    void StopMusic() { MusicMode(MODE_MUSIC_STOP); }

    // What the actors see of the world.
    std::uint32_t TextureOf(int image) const override { return my_textures[image]; }
    const ImageCoverage& Coverage(int image) const override { return my_coverage[image]; }
    bool InView(double left, double bottom, double right, double top) const override;
    bool EffectsOn() const override { return my_playSounds; }
    void PlaySoundEffect(SOUNDS sound) override;  // on a free channel
    void PlaySoundVariant(SOUNDS first) override;
    bool AddPoints(long points) override;
    bool InGame() const override { return my_mode != MODE_MENU; }
    bool Restocking() const override { return my_restocking; }
    Sub& Prey() override { return my_sub; }
    const BigFish& Hunter() const override { return my_bigFish; }
    double StepTime() const override { return my_frameTime; }

    // Drawing; the frame's time turns the propeller, also while paused.
    void LoadGLStandard();
    void DrawGame(double frameTime);
    bool SkyClearsFrame() const;
    void DrawBackground();
    void DrawOcean(bool skyCleared);
    void DrawHUD();
    void DrawMenu();
    void DrawScore(long value);

    // Menu screen and banners.
    void InitBillboards();
    void InitGameBillboards();
    void HideBillboards();
    void HideGameBillboards();
    void UpdateMenuCaption(double dT);

private:
    void SetDrawingState();
    void SaveHighScore();
    void KeepBestOfGameOnQuit();
    void SpawnSchool();
    void SpawnOneSeedWeed();
    void PlaceSchool(int count, double tipX, double tipY);
    void HandlePauseKey();
    void PauseWhenAway();
    void TogglePause();
    void SlideBanner(bool paused);
    bool StartKeyHeld();
    void HandleThrust(double dT);
    void RideInsideTheFish(double dT);
    void FollowWithCamera(double* followX, double* followY, double offsetX, double offsetY);
};
