// SPDX-License-Identifier: GPL-3.0-or-later
// The world's game flow: the menu, the way into a chase, the chase and the chomp.
#include "game/world_task.h"

#include "engine/global_timer.h"
#include "engine/input_task.h"
#include "engine/log.h"
#include "engine/settings.h"
#include "engine/singleton.h"
#include "game/game_constants.h"
#include "game/pool_callbacks.h"
#include "platform/player_files.h"
#include "platform/random.h"
#include "platform/sdl_port.h"

// The settings registry holds the dator until the program's end, after which it goes.
WorldTask::~WorldTask() {
    delete my_highScoreDator;
}

// What failed to load is freed again at once: a refused task is never stopped.
bool WorldTask::Start() {
    if (!LoadImages()) {
        ReleaseImages();
        return false;
    }
    if (!LoadSounds()) {
        ReleaseSounds();
        ReleaseImages();
        return false;
    }
    my_circleZoom.Reset();
    music.isPaused = !my_playMusic;  // music switched off in an earlier run starts paused
    LoadBestGame();
    SetupWorld();
    SetDrawingState();
    if (!my_watchFile.empty()) {
        my_watchRefused =
            !LoadRecording(my_watchFile, true) || !WatchRecording(my_recording, PLATFORM_QUITS);
    }
    return true;
}

void WorldTask::Stop() {
    KeepBestOfGameOnQuit();
    ReleaseImages();
    ReleaseSounds();
}

// The frame is drawn before the screen's keys are read, so a change they make shows from the
// next frame on.
void WorldTask::Update() {
    double dT = GlobalTimer::deltaTime;
    my_escapeTaken = my_escapeTaken && InputTask::pressedKeys[SDLK_ESCAPE];
    if (my_playback.active && WatchFrame(dT)) {
        DrawGame(dT);
        return;
    }
    UpdateGame(dT);
    UpdateScreen(dT);
}

void WorldTask::SetupWorld() {
    my_score = 0;
    my_lastScore = 0;
    my_paused = false;
    SetupMenu();
}

// A game's score is kept as the last one, and a new best is saved with its recording.
void WorldTask::SetupMenu() {
    if (my_mode != MODE_MENU) {
        Log::Get().Write(LOG_APP, "Game over with %ld points", my_score);
    }
    my_lastScore = my_score;
    if (my_score > my_highScore) {
        SaveHighScore();
        KeepBestGame();
    }
    OpenMenu();
}

void WorldTask::OpenMenu() {
    my_paused = false;
    Log::Get().Write(LOG_APP, "Menu: high score %ld, last score %ld", my_highScore, my_lastScore);
    my_mode = MODE_MENU;
    my_camera.Reset();
    my_sub.Reset();
    my_bigFish.Reset();
    InitBillboards();
    HideGameBillboards();
    my_sub.y = WORLD_MENU_SUB_DEPTH;
    my_sub.x = 0.0;
    my_sub.state = SUB_DRONING;
    my_bigFish.y = my_sub.y;
    my_bigFish.x = my_sub.x - WORLD_ESCORT_DISTANCE;
    my_bigFish.mode = BIGFISH_ESCORT;
    FollowWithCamera(&my_sub.x, &my_sub.y, WORLD_MENU_CAMERA_X, WORLD_MENU_CAMERA_Y);
    my_startPressed = false;
    RestockWorld();
    my_circleZoom.speed = CIRCLEZOOM_SCENE_SPEED;
    my_circleZoom.ZoomOut(&my_bigFish.x, &my_bigFish.y);
    MusicMode(MODE_MENU);
}

// A new best is written to the settings file at once, so a crash later cannot lose it. One
// dator serves every new best.
void WorldTask::SaveHighScore() {
    my_highScore = my_score;
    Log::Get().Write(LOG_APP, "New high score: %ld", my_highScore);
    if (!my_highScoreDator) {
        my_highScoreDator = new Dator<long>(my_highScore);
    }
    Settings* settings = Singleton<Settings>::GetPointer();
    settings->RegisterVariable(stringHighScore, my_highScoreDator);
    settings->WriteFile(PlayerFilePath(GAME_SETTINGS_FILENAME));
}

// What the submarine eats in the simulated past of a restock happened before the scene began.
bool WorldTask::AddPoints(long points) {
    if (my_restocking) {
        return false;
    }
    my_score += points;
    return true;
}

// Quitting in the middle of a game that beats the best keeps it, as the game's end would.
// A replay being watched is no game of the player's either.
void WorldTask::KeepBestOfGameOnQuit() {
    if (my_mode == MODE_MENU || my_playback.active) {
        return;  // the droning submarine's meals in the menu are no game
    }
    Log::Get().Write(LOG_APP, "Game quit with %ld points", my_score);
    if (my_score > my_highScore) {
        SaveHighScore();
        KeepBestGame();
    }
}

void WorldTask::SetupSwim() {
    Log::Get().Write(LOG_APP, "Game started");
    ReplayStart start = StartOfNewGame();
    my_recording.Begin(start);
    BeginGame(start);
}

// Everything a game's ocean depends on is set here, from what the recording keeps: the
// same start and the same frames make the same game.
void WorldTask::BeginGame(const ReplayStart& start) {
    tobrin::srand(start.seed);
    my_sub.x = start.subX;
    my_sub.angle = start.subAngle;
    fishieSpawnTimer = start.fishieTimer;
    seedWeedSpawnTimer = start.seedWeedTimer;
    subGoingUp = start.climbHeld;
    my_pausedPress = start.pauseHeld;
    direction = start.bannerLeavesRight ? 1 : -1;
    // A weed's rest timer is kept when the pool hands it out again, so which weed comes next
    // would carry the menu's ocean into the game: every weed starts the game rested.
    my_seedWeeds.PruneAll();
    for (SeedWeed* weed : my_seedWeeds.freeList) {
        weed->wiggleTimer = 0.0;
    }
    my_mode = MODE_SWIM;
    my_paused = false;
    my_camera.Reset();
    my_sub.Reset();
    my_bigFish.Reset();
    HideBillboards();
    InitGameBillboards();
    my_sub.y = WORLD_GAME_SUB_DEPTH;  // x stays where the menu's droning left it
    FollowWithCamera(&my_sub.x, &my_sub.y, WORLD_GAME_CAMERA_X, 0.0);
    my_score = 0;
    my_circleZoom.speed = CIRCLEZOOM_SCENE_SPEED;
    my_circleZoom.radius = 0.0;
    my_circleZoom.ZoomOut(&my_sub.x, &my_sub.y);
    RestockWorld();
    MusicMode(MODE_SWIM);
    SetupEnterTheFish();
}

// The fish enters ahead of the submarine.
void WorldTask::SetupEnterTheFish() {
    my_mode = MODE_ENTER_THE_FISH;
    my_bigFish.Reset();
    my_bigFish.mode = BIGFISH_CHASE;
    my_bigFish.x = my_sub.x + BIGFISH_ENTRY_DISTANCE;
    my_bigFish.y = my_sub.y;
    my_camera.secondTargetX = &my_bigFish.x;
    my_camera.secondTargetY = &my_bigFish.y;
    my_camera.offsetX = WORLD_GAME_CAMERA_X;
    my_camera.offsetY = 0.0;
    SetupChase();
}

void WorldTask::SetupChase() {
    my_mode = MODE_CHASE;
    my_bigFish.mode = BIGFISH_CHASE;
    MusicMode(MODE_CHASE);
}

// Points the camera at a position and puts it on its goal at once.
void WorldTask::FollowWithCamera(double* followX, double* followY, double offsetX, double offsetY) {
    my_camera.targetX = followX;
    my_camera.targetY = followY;
    my_camera.offsetX = offsetX;
    my_camera.offsetY = offsetY;
    my_camera.x = *followX + offsetX;
    my_camera.y = *followY + offsetY;
}

void WorldTask::UpdateGame(double dT) {
    AdvanceWorld(dT);
    DrawGame(dT);
}

void WorldTask::AdvanceWorld(double dT) {
    my_frameTime = dT;
    if (!my_paused) {
        Simulate(dT);
    }
}

// The keys and transitions of the screen the frame runs in.
void WorldTask::UpdateScreen(double dT) {
    my_controls = ReadControls(my_padPauseButton);
    if (my_mode != MODE_MENU) {
        RecordFrame(dT);
        UpdatePlay(dT);
    } else {
        UpdateMenu(dT);
    }
}

// The spawners are fed the frame's own time, so the ocean is as full on a slow machine as on
// a fast one.
void WorldTask::Simulate(double dT) {
    my_sub.Update(dT);
    SpawnFishie(dT);
    my_fishies.Iterate(UpdateFishie);
    if (tobrin::rand() % 3 == 0) {
        my_fishies.Prune();
    }
    SpawnSeedWeed(dT);
    my_seedWeeds.Iterate(UpdateSeedWeed);
    if (tobrin::rand() % 3 == 0) {
        my_seedWeeds.Prune();
    }
    my_bigFish.Update(dT);
    my_camera.Update(dT);
    my_circleZoom.Update(dT);
}

// Enter closes the circle on the submarine; once closed, a game starts. The circle is also
// advanced in UpdateGame, so in the menu it moves at twice its speed.
void WorldTask::UpdateMenu(double dT) {
    bool start = StartKeyHeld();
    if (WatchWanted()) {
        return;
    }
    if (start && !my_startPressed) {
        my_startPressed = true;
        my_circleZoom.Reset();
        my_circleZoom.radius = CIRCLEZOOM_CLOSING_RADIUS;
        my_circleZoom.speed = CIRCLEZOOM_SCENE_SPEED;
        my_circleZoom.ZoomIn(&my_sub.x, &my_sub.y);
    }
    if (my_startPressed && my_circleZoom.radius <= 0.0) {
        SetupSwim();
        return;  // the game's first frame is the next one, as a replay's is
    }
    UpdateMenuCaption(dT);
    my_circleZoom.Update(dT);
    InputTask::pads.PickUpNew(dT);  // a pad plugged in while the menu shows
}

// Enter, a click, a tap or a pad's start buttons start a game. Alt+Enter switches full screen:
// an Enter that went down with Alt held starts no game, even once Alt is let go before it; nor
// does a press that left a replay.
bool WorldTask::StartKeyHeld() {
    bool held = my_controls.start;
    if (held && !enterWasHeld) {
        enterWithAlt = InputTask::AltHeld();
    }
    enterWasHeld = held;
    return held && !enterWithAlt;
}

void WorldTask::UpdatePlay(double dT) {
    HandlePauseKey();
    PauseWhenAway();
    if (!my_paused) {
        HandleThrust(dT);
        if (my_mode == MODE_ENTER_THE_FISH || my_mode == MODE_CHASE) {
            CheckForChomp();
            if (my_sub.state == SUB_CHOMPED) {
                RideInsideTheFish(dT);
            }
        }
    }
    my_gameBillboards[0].Update(dT);
}

// P serves keyboards without a Pause key, as most laptops' are; a pad's Start pauses too.
void WorldTask::HandlePauseKey() {
    if (!my_controls.pause) {
        my_pausedPress = false;
        return;
    }
    if (!my_pausedPress) {
        TogglePause();
    }
    my_pausedPress = true;
}

// A player called to another window must not come back to a lost game. Coming back does not
// resume: the player does, when ready. A chomped submarine has nothing left to lose.
void WorldTask::PauseWhenAway() {
    if (my_controls.away && !my_paused && my_sub.state != SUB_CHOMPED) {
        TogglePause();
    }
}

// Pausing slides the banner to the centre; resuming sends it off to the right, then the left.
void WorldTask::TogglePause() {
    my_paused = !my_paused;
    if (!my_playback.checking) {
        Log::Get().Write(LOG_APP, "%s", my_paused ? "Paused" : "Resumed");
    }
    SlideBanner(my_paused);
}

void WorldTask::SlideBanner(bool paused) {
    Billboard& banner = my_gameBillboards[0];
    if (paused) {
        banner.destinationX = 0.0;
        banner.destinationY = 0.0;
    } else {
        banner.destinationX = direction * BILLBOARD_PAUSED_EXIT_X;
        banner.destinationY = 0.0;
        direction = -direction;
    }
}

// Space, the left button, a finger or a pad's climbing button held climbs; the release dives,
// and both the press and the release give a boost.
void WorldTask::HandleThrust(double dT) {
    if (my_controls.climb) {
        my_sub.UpThrust(dT);
        if (!subGoingUp) {
            subGoingUp = true;
            my_sub.SpeedBoost();
        }
    } else {
        my_sub.DownThrust(dT);
        if (subGoingUp) {
            subGoingUp = false;
            my_sub.SpeedBoost();
        }
    }
}

// The chomped submarine rides in the fish while the circle closes on it; then the menu.
void WorldTask::RideInsideTheFish(double dT) {
    my_sub.x = my_bigFish.x;
    my_sub.y = my_bigFish.y;
    my_sub.angle = my_bigFish.angle;
    my_chompedTime += dT;
    if (my_chompedTime >= WORLD_CHOMPED_DELAY && !my_circleZoom.active) {
        my_circleZoom.Reset();
        my_circleZoom.radius = CIRCLEZOOM_CLOSING_RADIUS;
        my_circleZoom.speed = CIRCLEZOOM_CHOMP_SPEED;
        my_circleZoom.ZoomIn(&my_bigFish.x, &my_bigFish.y);
    }
    if (my_circleZoom.radius <= 0.0) {
        EndGame();
    }
}

void WorldTask::EndGame() {
    if (my_playback.active) {
        FinishWatching("ended");
    } else {
        SetupMenu();
    }
}

void WorldTask::CheckForChomp() {
    if (my_bigFish.ChompDistance() < BIGFISH_CHOMP_DISTANCE) {
        my_sub.GetChomped();
        my_bigFish.Chomp();
        my_camera.targetX = &my_bigFish.x;
        my_camera.targetY = &my_bigFish.y;
        my_camera.offsetX = 0.0;
        my_camera.offsetY = 0.0;
        my_chompedTime = 0.0;
        MusicMode(MODE_CHOMPED);
    }
}
