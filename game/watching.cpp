// SPDX-License-Identifier: GPL-3.0-or-later
// Every game recorded as it is played, the best one kept, and recordings played back through
// the world: its real ocean, pictures and sounds, at the recorded pace.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <utility>

#include "engine/input_task.h"
#include "engine/kernel.h"
#include "engine/log.h"
#include "engine/singleton.h"
#include "game/game_constants.h"
#include "game/replay_file.h"
#include "game/world_task.h"
#include "platform/player_files.h"
#include "platform/random.h"
#include "platform/sdl_port.h"

namespace {

std::uint8_t ControlBits(const Controls& controls) {
    return static_cast<std::uint8_t>((controls.climb ? REPLAY_CLIMB : 0) |
                                     (controls.pause ? REPLAY_PAUSE : 0) |
                                     (controls.away ? REPLAY_AWAY : 0));
}

// The keys that leave a replay: not the pause keys, the switches, nor a modifier on its own.
bool LeavesReplay(int key, const std::uint8_t* keys) {
    bool modifier = key >= SDLK_NUMLOCK && key <= SDLK_COMPOSE;
    bool switchKey = key == SDLK_F2 || key == SDLK_F3 || key == SDLK_F11;
    bool fullScreen = key == SDLK_RETURN && (keys[SDLK_LALT] || keys[SDLK_RALT]);
    return !modifier && !switchKey && !fullScreen && key != SDLK_PAUSE && key != SDLK_p;
}

// The buttons of every pad held now, but the ones that pause.
std::uint32_t PadButtonsBesidesPause(int padPauseButton) {
    std::uint32_t held = 0;
    for (const Gamepad& pad : InputTask::pads.pads) {
        PadLayout layout = LayoutFor(InputTask::pads.order, pad.buttons, padPauseButton);
        held |= pad.held & ~(layout.pause >= 0 ? 1u << layout.pause : 0u);
    }
    return held;
}

}  // namespace

// The seed comes from the ocean's own sequence, itself seeded from the clock at start-up.
ReplayStart WorldTask::StartOfNewGame() {
    ReplayStart start;
    start.seed = static_cast<std::uint32_t>(tobrin::rand()) << 15 |
                 static_cast<std::uint32_t>(tobrin::rand());
    start.subX = my_sub.x;
    start.subAngle = my_sub.angle;
    start.fishieTimer = fishieSpawnTimer;
    start.seedWeedTimer = seedWeedSpawnTimer;
    start.climbHeld = subGoingUp;
    start.pauseHeld = my_pausedPress;
    start.bannerLeavesRight = direction > 0;
    return start;
}

// Frames come from a millisecond clock, so their steps are kept exactly. A game too long for
// the recording's room plays on unrecorded.
void WorldTask::RecordFrame(double dT) {
    if (my_recording.full) {
        return;
    }
    auto milliseconds = static_cast<std::uint32_t>(std::lround(dT * 1000.0));
    if (!my_recording.Add(milliseconds, ControlBits(my_controls))) {
        Log::Get().Write(LOG_APP,
                         "The game is too long to record; recording stopped after %u frames",
                         my_recording.frames);
    }
}

void WorldTask::KeepBestGame() {
    if (my_recording.full) {
        Log::Get().Write(LOG_APP, "The best game was too long to keep its recording");
        return;
    }
    my_recording.score = my_score;
    my_recording.date = static_cast<std::int64_t>(std::time(nullptr));
    my_recording.version = TOBRIN_VERSION;
    std::string path = PlayerFilePath(REPLAY_BEST_FILENAME);
    std::string problem;
    if (!KeepBestReplay(path, my_recording, problem)) {
        Log::Get().Write(LOG_APP, "Best game %s is left as it was: %s", path.c_str(),
                         problem.c_str());
        return;
    }
    Log::Get().Write(LOG_APP, "Best game of %ld points kept in %s", my_score, path.c_str());
    std::swap(my_bestGame, my_recording);
    my_hasBestGame = true;
    my_offerBestGame = true;
}

void WorldTask::LoadBestGame() {
    std::string path = PlayerFilePath(REPLAY_BEST_FILENAME);
    bool exists = false;
    std::string problem;
    my_hasBestGame = ReadReplayFile(path, false, my_bestGame, exists, problem);
    if (my_hasBestGame) {
        Log::Get().Write(LOG_APP, "Best game: %ld points in %u frames, played by version %s",
                         my_bestGame.score, my_bestGame.frames, my_bestGame.version.c_str());
    } else if (exists) {
        Log::Get().Write(LOG_APP, "Best game %s is refused and left alone: %s", path.c_str(),
                         problem.c_str());
    }
}

// A recording someone sent, into the game's own recording, which waits idle in the menu.
bool WorldTask::LoadRecording(const std::string& path, bool followLinks) {
    bool exists = false;
    std::string problem;
    if (ReadReplayFile(path, followLinks, my_recording, exists, problem)) {
        return true;
    }
    if (!exists) {
        problem = "no such file";
    }
    Log::Get().Write(LOG_APP, "Recording %s is refused: %s", path.c_str(), problem.c_str());
    std::fprintf(stderr, "%s: recording %s is refused: %s\n", GAME_COMMAND, path.c_str(),
                 problem.c_str());
    return false;
}

bool WorldTask::WatchRecording(const Replay& replay, bool quitAtEnd) {
    if (!CheckRecording(replay)) {
        Log::Get().Write(LOG_APP, "Recording refused: it does not end with its %ld points",
                         replay.score);
        std::fprintf(stderr, "%s: the recording does not end with its %ld points\n", GAME_COMMAND,
                     replay.score);
        OpenMenu();  // the check went through the ocean; the menu starts afresh
        return false;
    }
    Log::Get().Write(LOG_APP, "Replay of a game of %ld points", replay.score);
    BeginGame(replay.start);
    my_playback = Playback{};
    my_playback.replay = &replay;
    my_playback.active = true;
    my_playback.quitAtEnd = quitAtEnd;
    my_gameBillboards[1].visible = true;
    RememberViewerControls();
    return true;
}

// Played through at once, unseen and unheard. A recording that does not end with the score
// its header claims, on its last frame, would show another game than the one it names.
bool WorldTask::CheckRecording(const Replay& replay) {
    my_playback = Playback{};
    my_playback.replay = &replay;
    my_playback.active = true;
    my_playback.checking = true;
    BeginGame(replay.start);
    ReplayFrame frame;
    while (!my_playback.ended && replay.Next(my_playback.cursor, frame)) {
        StepRecordedFrame(frame);
    }
    bool whole = my_playback.cursor == replay.steps.size();
    my_playback = Playback{};
    return whole && my_score == replay.score;
}

// As a played frame: the ocean's step, then the controls the game read.
void WorldTask::StepRecordedFrame(const ReplayFrame& frame) {
    double dT = static_cast<double>(frame.milliseconds) / 1000.0;
    AdvanceWorld(dT);
    my_controls = Controls{};
    my_controls.climb = frame.controls & REPLAY_CLIMB;
    my_controls.pause = frame.controls & REPLAY_PAUSE;
    my_controls.away = frame.controls & REPLAY_AWAY;
    UpdatePlay(dT);
}

// The viewer's pause stops the recording's clock; any other press leaves it, and the frame
// is the menu's then (false).
bool WorldTask::WatchFrame(double dT) {
    Controls viewer = ReadControls(my_padPauseButton);
    // R let go while the replay plays is let go for the menu too, so R in its first frame plays
    // the best game again; one held as the replay ends waits to be let go.
    my_watchHeld = viewer.watch || InputTask::pointerHeld;
    if (ViewerPressedAny()) {
        my_escapeTaken = !my_playback.quitAtEnd && InputTask::pressedKeys[SDLK_ESCAPE];
        FinishWatching("left");
        return false;
    }
    bool pause = viewer.pause && !my_playback.pauseHeld;
    my_playback.pauseHeld = viewer.pause;
    if (pause || (viewer.away && !my_playback.paused)) {
        my_playback.paused = !my_playback.paused;
        SlideBanner(my_playback.paused);
    }
    if (my_playback.paused) {
        my_gameBillboards[0].Update(dT);
    } else {
        my_playback.owed += dT;
        const Replay& replay = *my_playback.replay;
        ReplayFrame frame;
        std::size_t next = my_playback.cursor;
        while (my_playback.active && replay.Next(next, frame) &&
               frame.milliseconds / 1000.0 <= my_playback.owed) {
            my_playback.cursor = next;
            my_playback.owed -= frame.milliseconds / 1000.0;
            StepRecordedFrame(frame);
        }
        if (my_playback.active && my_playback.cursor == replay.steps.size()) {
            FinishWatching("ended");  // a game quit before its end, or a replay cut short
        }
    }
    RememberViewerControls();
    return true;
}

// The replay's score is no game of the player's: the menu keeps the last one played.
void WorldTask::FinishWatching(const char* how) {
    if (my_playback.checking) {
        my_playback.ended = true;
        return;
    }
    // Where the fish is tells a replay that went astray, even one that happened to score alike.
    Log::Get().Write(LOG_APP, "Replay %s with %ld points, the fish at %.6f %.6f", how, my_score,
                     my_bigFish.x, my_bigFish.y);
    if (my_playback.quitAtEnd) {
        Singleton<Kernel>::GetPointer()->KillAllTasks();
    }
    my_playback = Playback{};
    enterWasHeld = true;  // the press that left starts no game until it is let go
    enterWithAlt = true;
    OpenMenu();
}

bool WorldTask::ViewerPressedAny() {
    const std::uint8_t* keys = InputTask::pressedKeys;
    bool pressed = false;
    int count = std::min(InputTask::keyCount, static_cast<int>(SDLK_LAST));
    for (int key = 0; key < count; ++key) {
        pressed = pressed || (keys[key] && !my_keysBefore[key] && LeavesReplay(key, keys));
    }
    pressed = pressed || (InputTask::pointerHeld && !my_pointerBefore);
    return pressed || (PadButtonsBesidesPause(my_padPauseButton) & ~my_padButtonsBefore);
}

// What is held as a replay starts, or in its last frame, is no new press.
void WorldTask::RememberViewerControls() {
    int count = std::min(InputTask::keyCount, static_cast<int>(SDLK_LAST));
    std::copy(InputTask::pressedKeys, InputTask::pressedKeys + count, my_keysBefore);
    my_pointerBefore = InputTask::pointerHeld;
    my_padButtonsBefore = PadButtonsBesidesPause(my_padPauseButton);
}

// R, a pad's Back or Select, or a click on the caption that offers it, shows the best game; a
// recording dropped on the page shows that one. True when the menu's frame is taken by it.
bool WorldTask::WatchWanted() {
    bool onCaption = InputTask::pointerHeld && PointerOnCaption();
    bool held = my_controls.watch || onCaption;
    bool pressed = held && !my_watchHeld && !my_startPressed;
    my_watchHeld = held;
    std::string dropped;
    if (!my_startPressed && TakeDroppedReplay(dropped)) {
        return LoadRecording(dropped, true) && WatchRecording(my_recording, false);
    }
    if (!pressed || !my_hasBestGame) {
        return onCaption;
    }
    my_hasBestGame = WatchRecording(my_bestGame, false);
    enterWasHeld = enterWasHeld || onCaption;  // the click is no start once the menu is back
    enterWithAlt = enterWithAlt || onCaption;
    return true;
}
