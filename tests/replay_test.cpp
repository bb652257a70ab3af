// SPDX-License-Identifier: GPL-3.0-or-later
// A recorded session replayed headless, frame by frame, with fixed frame times and a seeded
// generator. Its summary must match the one kept beside the recording: a change in the game's
// balance or randomness shows as a difference that someone has to accept on purpose, by running
// this test with TOBRIN_ACCEPT_REPLAY=1, which rewrites the expected summary.
#include <malloc.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "engine/input_task.h"
#include "engine/settings.h"
#include "engine/video_update.h"
#include "game/game_constants.h"
#include "game/replay_file.h"
#include "platform/random.h"
#include "world_fixture.h"

namespace {

struct KeyChange {
    int frame;
    int key;
    bool down;
};

// Lines of "frame KEY down|up"; anything else is a comment.
std::vector<KeyChange> ReadKeyChanges(const std::string& path) {
    const std::map<std::string, int> KEYS = {
        {"RETURN", SDLK_RETURN}, {"SPACE", SDLK_SPACE}, {"PAUSE", SDLK_PAUSE}};
    std::vector<KeyChange> changes;
    std::ifstream file(path);
    int frame;
    std::string key, state;
    for (std::string line; std::getline(file, line);) {
        if (std::istringstream(line) >> frame >> key >> state && KEYS.count(key)) {
            changes.push_back({frame, KEYS.at(key), state == "down"});
        }
    }
    return changes;
}

const char* const MODE_NAMES[] = {"menu", "swim", "enter the fish", "chase"};

// Where everything is at a frame, to four decimals: a change to any motion or rule shows.
std::string Snapshot(int frame, WorldTask& world) {
    char line[512];
    const Sub& sub = world.my_sub;
    const BigFish& fish = world.my_bigFish;
    const CircleZoom& zoom = world.my_circleZoom;
    std::snprintf(line, sizeof line,
                  "frame %d: sub %.4f %.4f %.4f %.4f, fish %.4f %.4f %.4f %.4f face %d tail %d "
                  "flipper %d, camera %.4f %.4f, circle %.4f, caption %d %.4f, title %.4f, banner "
                  "%.4f, fishies %d, weeds %d, score %ld\n",
                  frame, sub.x, sub.y, sub.angle, sub.velocity, fish.x, fish.y, fish.angle,
                  fish.velocity, fish.faceFrame, fish.tailFrame, fish.flipperFrame,
                  world.my_camera.x, world.my_camera.y, zoom.radius,
                  world.my_menuBillboards[3].image, world.my_menuBillboards[3].y,
                  world.my_menuBillboards[0].x, world.my_gameBillboards[0].x,
                  world.my_fishies.Size(), world.my_seedWeeds.Size(), world.my_score);
    return line;
}

class ReplayTest : public DrivenWorldTest {
protected:
    const std::string folder = std::string(TOBRIN_SOURCE_DIR) + "/tests/replay/";
    const bool accepting = std::getenv("TOBRIN_ACCEPT_REPLAY") &&
                           std::string(std::getenv("TOBRIN_ACCEPT_REPLAY")) == "1";
    // The recorded session of two games, the second of them the best.
    std::string PlayTheRecordedSession() {
        return Replay(ReadKeyChanges(folder + "two_games.keys"), 20261206, 9000);
    }
    // Plays the recording for a number of frames in a fresh world and tells what happened.
    std::string Replay(const std::vector<KeyChange>& changes, unsigned seed, int frames,
                       const std::function<void(int)>& afterFrame = nullptr) {
        const double FRAME_TIMES[3] = {0.016, 0.017, 0.017};
        tobrin::srand(seed);
        world.my_highScore = 0;
        world.my_circleZoom.Reset();
        world.SetupWorld();
        std::ostringstream summary;
        summary << "seed " << seed << ", " << frames << " frames\n";
        MODES mode = world.my_mode;
        bool chomped = false;
        for (size_t frame = 0, next = 0; frame < static_cast<size_t>(frames); ++frame) {
            for (; next < changes.size() && changes[next].frame == static_cast<int>(frame);
                 ++next) {
                keys[changes[next].key] = changes[next].down;
            }
            Frame(FRAME_TIMES[frame % 3]);
            if (afterFrame) {
                afterFrame(static_cast<int>(frame));
            }
            if (frame % 500 == 499) {
                summary << Snapshot(static_cast<int>(frame), world);
            }
            if (world.my_sub.state == SUB_CHOMPED && !chomped) {
                summary << "frame " << frame << ": chomped with " << world.my_score << " points\n";
            }
            chomped = world.my_sub.state == SUB_CHOMPED;
            if (world.my_mode != mode) {
                mode = world.my_mode;
                summary << "frame " << frame << ": " << MODE_NAMES[mode] << ", last score "
                        << world.my_lastScore << ", high score " << world.my_highScore << "\n";
            }
        }
        return summary.str();
    }
};

// The recorded session plays out as before: a change in the game's balance or randomness shows
// as a difference that someone has to accept on purpose. Its best game is kept on disk as it is
// in memory. Watched on a slow machine, at 60 frames a second and uncapped, it plays out as it
// was played, to the same score and the same place, and ends in the menu with nothing saved,
// where R plays it again at once.
TEST_F(ReplayTest, TheRecordedGamesPlayOutAsBeforeAndTheBestOneAtAnyFrameRate) {
    std::string summary = PlayTheRecordedSession();
    if (accepting) {
        WriteTextFile(folder + "two_games.expected", summary);
    }
    EXPECT_EQ(summary, ReadTextFile(folder + "two_games.expected"))
        << "the replay played out differently; if the change is meant, accept it with "
           "TOBRIN_ACCEPT_REPLAY=1";
    EXPECT_NE(summary.find("chomped"), std::string::npos) << "the recording must reach a chomp";
    ASSERT_TRUE(world.my_hasBestGame);
    const long best = world.my_bestGame.score;
    ASSERT_GT(best, 0);
    EXPECT_EQ(ReadTextFile(REPLAY_BEST_FILENAME), world.my_bestGame.Encode());
    std::string settings = ReadTextFile(GAME_SETTINGS_FILENAME);
    int gamesOver = LinesStartingWith("Game over");
    std::vector<std::string> endings;
    for (double frameTime : {0.1, 1.0 / 60, 0.001}) {
        SCOPED_TRACE(frameTime);
        keys[SDLK_r] = 1;  // in the menu's first frame after the last replay
        Frame(frameTime);
        keys[SDLK_r] = 0;
        ASSERT_TRUE(world.my_playback.active) << "R in the menu plays the best game again";
        for (int frame = 0; frame < 200000 && world.my_playback.active; ++frame) {
            Frame(frameTime);
        }
        EXPECT_EQ(world.my_mode, MODE_MENU);
        endings.push_back(LastLineStartingWith("Replay ended"));
        ASSERT_FALSE(endings.back().empty());
    }
    for (const std::string& ending : endings) {
        EXPECT_EQ(ending.substr(0, ending.find(',')),
                  "Replay ended with " + std::to_string(best) + " points");
        EXPECT_EQ(ending, endings[0]);
    }
    EXPECT_EQ(LinesStartingWith("Game over"), gamesOver) << "a replay is no game";
    // The browser test plays this recording, made here, and must end as it ends here.
    ::Replay shared;
    std::string problem;
    auto upToDate = [&] {
        return ::Replay::Decode(ReadTextFile(folder + "desktop_best.replay"), shared, problem) &&
               shared.steps == world.my_bestGame.steps && shared.score == best;
    };
    if (accepting && !upToDate()) {
        WriteTextFile(folder + "desktop_best.replay", world.my_bestGame.Encode());
    }
    if (accepting) {
        WriteTextFile(folder + "desktop_best.ended", endings[0] + "\n");
    }
    EXPECT_TRUE(upToDate())
        << "the browser test's recording is out of date: accept it with TOBRIN_ACCEPT_REPLAY=1";
    EXPECT_EQ(ReadTextFile(folder + "desktop_best.ended"), endings[0] + "\n");
    EXPECT_EQ(world.my_highScore, best);
    EXPECT_EQ(ReadTextFile(GAME_SETTINGS_FILENAME), settings);
}

// While a recording plays, the viewer's pause stops and resumes it and a switch key leaves it
// playing; any other key or a click leaves it for the menu at once, where that press starts no
// game. A click on the caption that offers the best game plays it.
TEST_F(ReplayTest, TheViewerPausesOrLeavesAReplayAndAClickOnItsCaptionPlaysIt) {
    PlayTheRecordedSession();
    ASSERT_TRUE(world.my_hasBestGame);
    auto watch = [&] {
        keys[SDLK_r] = 1;
        Frames(2, 1.0 / 60);
        keys[SDLK_r] = 0;
        Frames(30, 1.0 / 60);
        return world.my_playback.active;
    };
    const int LEAVING[] = {SDLK_x, SDLK_ESCAPE, SDLK_RETURN, SDLK_SPACE, SDLK_LAST};
    for (int leave : LEAVING) {
        SCOPED_TRACE(leave);
        ASSERT_TRUE(watch());
        keys[SDLK_p] = 1;
        Frames(2, 1.0 / 60);
        size_t cursor = world.my_playback.cursor;
        Frames(30, 1.0 / 60);
        EXPECT_EQ(world.my_playback.cursor, cursor) << "paused by the viewer";
        keys[SDLK_p] = 0;
        keys[SDLK_F2] = keys[SDLK_LSHIFT] = 1;
        Frames(2, 1.0 / 60);
        EXPECT_EQ(world.my_playback.cursor, cursor) << "a switch or a modifier resumes nothing";
        keys[SDLK_p] = 1;
        Frames(30, 1.0 / 60);
        keys[SDLK_p] = keys[SDLK_F2] = keys[SDLK_LSHIFT] = 0;
        EXPECT_GT(world.my_playback.cursor, cursor) << "resumed";
        ASSERT_TRUE(world.my_playback.active);
        (leave == SDLK_LAST ? InputTask::pointerHeld : reinterpret_cast<bool&>(keys[leave])) = true;
        Frame(1.0 / 60);
        EXPECT_FALSE(world.my_playback.active);
        EXPECT_TRUE(LogHas("Replay left with "));
        EXPECT_EQ(world.my_escapeTaken, leave == SDLK_ESCAPE) << "Escape quits nothing then";
        Frames(60, 1.0 / 60);
        EXPECT_EQ(world.my_mode, MODE_MENU);
        EXPECT_FALSE(world.my_startPressed) << "the press that left starts no game";
        InputTask::pointerHeld = false;
        keys[leave == SDLK_LAST ? 0 : leave] = 0;
        Frames(2, 1.0 / 60);
    }
    VideoUpdate::screenWidth = 800;  // a 640 x 480 view between two bars
    VideoUpdate::screenHeight = 480;
    Billboard& caption = world.my_menuBillboards[MENU_CAPTION_BILLBOARD];
    caption.image = IMG_TEXT_PRESS_R;
    // The caption's centre, from the view's units into the window's pixels.
    InputTask::pointerX = 80 + static_cast<int>((caption.x + 2.0) / 4.0 * 640);
    InputTask::pointerY = static_cast<int>((1.5 - caption.y) / 3.0 * 480);
    InputTask::pointerHeld = true;
    Frame(1.0 / 60);
    EXPECT_TRUE(world.my_playback.active) << "a click on the offer plays the best game";
    InputTask::pointerHeld = false;
    Frame(1.0 / 60);
    InputTask::pointerHeld = true;  // leaves it
    Frames(2, 1.0 / 60);
    InputTask::pointerHeld = false;
    Frame(1.0 / 60);
    caption.image = IMG_TEXT_PRESS_R;
    InputTask::pointerX -= 100;
    InputTask::pointerHeld = true;
    Frames(2, 1.0 / 60);
    InputTask::pointerHeld = false;
    EXPECT_TRUE(world.my_startPressed) << "a click beside the offer starts a game";
}

// Steps of every length, the longest ones in their extra words, and every control come back
// as recorded, through the file's bytes; a full recording keeps no more.
TEST(ReplayFormatTest, EveryStepAndControlComesBackAsRecorded) {
    const ReplayFrame FRAMES[] = {{0, 0},     {1, 7},     {8190, 1},  {8191, 2}, {8192, 4},
                                  {65535, 3}, {65536, 5}, {70000, 6}, {17, 0},   {4000000000u, 7}};
    ::Replay recorded;
    recorded.Begin({1234567, -2.5, 33.25, 0.125, 0.0625, true, false, true});
    recorded.score = 42;
    recorded.version = "1.2.3";
    for (const ReplayFrame& frame : FRAMES) {
        ASSERT_TRUE(recorded.Add(frame.milliseconds, frame.controls));
    }
    ::Replay read;
    std::string problem;
    ASSERT_TRUE(::Replay::Decode(recorded.Encode(), read, problem)) << problem;
    EXPECT_EQ(read.frames, std::size(FRAMES));
    EXPECT_EQ(read.score, 42);
    EXPECT_EQ(read.version, "1.2.3");
    EXPECT_EQ(read.start.seed, 1234567u);
    EXPECT_EQ(read.start.subAngle, 33.25);
    EXPECT_TRUE(read.start.climbHeld && !read.start.pauseHeld && read.start.bannerLeavesRight);
    std::size_t cursor = 0;
    ReplayFrame frame;
    for (const ReplayFrame& expected : FRAMES) {
        ASSERT_TRUE(read.Next(cursor, frame));
        EXPECT_EQ(frame.milliseconds, expected.milliseconds);
        EXPECT_EQ(frame.controls, expected.controls);
    }
    EXPECT_FALSE(read.Next(cursor, frame));

    ::Replay full;
    full.Begin(ReplayStart{});
    while (full.Add(16, 0)) {
    }
    EXPECT_EQ(full.steps.size(), REPLAY_MAX_STEPS);
    EXPECT_FALSE(full.Add(1, 0)) << "a full recording takes no more frames";
    EXPECT_TRUE(::Replay::Decode(full.Encode(), read, problem)) << "the longest one is kept";
}

// What lies at a path: a link's target, a FIFO, or the file's bytes.
std::string Describe(const char* path) {
    struct stat status;
    if (lstat(path, &status) != 0) {
        return "nothing";
    }
    if (S_ISLNK(status.st_mode)) {
        return "-> " + std::filesystem::read_symlink(path).string();
    }
    return S_ISFIFO(status.st_mode) ? "|" : ReadTextFile(path);
}

// Whatever lies at best.replay, the game starts and plays on, and leaves it as it was: only a
// whole recording of this format, whose replay ends with the score it claims, is offered. A new
// best replaces a broken file, but never a FIFO nor a link.
TEST_F(ReplayTest, HostileRecordingsAreRefusedAndLeftAlone) {
    PlayTheRecordedSession();
    const std::string good = ReadTextFile(REPLAY_BEST_FILENAME);
    const ::Replay goodGame = world.my_bestGame;
    const size_t scoreAt = 11 + static_cast<unsigned char>(good[10]), framesAt = scoreAt + 16;
    auto with = [&](size_t at, int change) {
        std::string bytes = good;
        bytes[at] = static_cast<char>(bytes[at] + change);
        return bytes;
    };
    WriteTextFile("elsewhere.replay", good);
    struct Case {
        const char* name;
        std::string planted;
        const char* refusal;  // null where it is read, and refused once played through
        bool replaceable;
    };
    const Case CASES[] = {
        {"cut short", good.substr(0, good.size() - 1), "its frames are cut short", true},
        {"cut in its header", good.substr(0, 40), "not a recording of this game", true},
        {"too large", good + std::string(REPLAY_MAX_BYTES, '\0'), "too large", true},
        {"another format", with(8, 1), "a recording of another format", true},
        {"a frame more counted", with(framesAt, 1), "its frames are not as many", true},
        {"a long step cut short", good + "\xff\x1f", "its frames are not as many", true},
        {"settings", "HIGH_SCORE=5\n", "not a recording of this game", true},
        {"a higher score", with(scoreAt, 1), nullptr, true},
        {"a FIFO", "|", "not a regular file", false},
        {"a link to elsewhere", "-> elsewhere.replay", "a link", false},
    };
    for (const Case& hostile : CASES) {
        SCOPED_TRACE(hostile.name);
        Plant(REPLAY_BEST_FILENAME, hostile.planted);
        const std::string planted = Describe(REPLAY_BEST_FILENAME);
        int refusals = LinesStartingWith("Best game best.replay is refused and left alone: ");
        world.LoadBestGame();
        EXPECT_EQ(world.my_hasBestGame, hostile.refusal == nullptr);
        if (hostile.refusal) {
            EXPECT_TRUE(LogHas("Best game best.replay is refused and left alone: " +
                               std::string(hostile.refusal)));
            EXPECT_EQ(LinesStartingWith("Best game best.replay is refused"), refusals + 1);
        } else {
            keys[SDLK_r] = 1;
            Frames(2);
            keys[SDLK_r] = 0;
            EXPECT_FALSE(world.my_playback.active);
            EXPECT_FALSE(world.my_hasBestGame) << "offered again after it was refused";
            EXPECT_TRUE(LogHas("Recording refused: it does not end with its"));
        }
        Frames(10);
        EXPECT_EQ(world.my_mode, MODE_MENU);
        EXPECT_EQ(Describe(REPLAY_BEST_FILENAME), planted);
        std::string problem;
        EXPECT_EQ(KeepBestReplay(REPLAY_BEST_FILENAME, goodGame, problem), hostile.replaceable)
            << problem;
        EXPECT_EQ(Describe(REPLAY_BEST_FILENAME), hostile.replaceable ? good : planted);
    }
    EXPECT_EQ(ReadTextFile("elsewhere.replay"), good) << "written through the link";
}

// Ten minutes of play at 60 frames a second, menu and chases in turn with Space mashed, run
// without drawing: the memory in use must stay flat once the pools have grown. The music holds
// more while a module plays than during the chomp's tune, so the peaks of the first minute and
// of the rest are compared.
TEST_F(ReplayTest, TenMinutesOfMenuAndChasesKeepMemoryFlat) {
    const int FRAMES = 10 * 60 * 60;
    std::vector<KeyChange> changes;
    for (int frame = 0; frame < FRAMES; frame += 40) {
        changes.push_back({frame, SDLK_SPACE, true});
        changes.push_back({frame + 20, SDLK_SPACE, false});
        if (frame % 600 == 0) {
            changes.push_back({frame + 1, SDLK_RETURN, true});
            changes.push_back({frame + 30, SDLK_RETURN, false});
        }
    }
    std::sort(changes.begin(), changes.end(),
              [](const KeyChange& a, const KeyChange& b) { return a.frame < b.frame; });
    size_t warm = 0, later = 0;
    std::string summary = Replay(changes, 99, FRAMES, [&](int frame) {
        size_t& peak = frame < FRAMES / 10 ? warm : later;
        peak = std::max(peak, mallinfo2().uordblks);
    });
    EXPECT_GE(std::count(summary.begin(), summary.end(), '\n'), 10) << summary;
    EXPECT_LT(later, warm + 64 * 1024)
        << "most in use in the first minute " << warm << ", after it " << later;
}

}  // namespace
