// A recorded session replayed headless, frame by frame, with fixed frame times and a seeded
// generator. Its summary must match the one kept beside the recording: a change in the game's
// balance or randomness shows as a difference that someone has to accept on purpose, by running
// this test with TOBRIN_ACCEPT_REPLAY=1, which rewrites the expected summary.
#include <malloc.h>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "engine/global_timer.h"
#include "engine/input_task.h"
#include "engine/settings.h"
#include "platform/random.h"
#include "sound_world.h"

namespace {

struct KeyChange {
    int frame;
    int key;
    bool down;
};

std::vector<KeyChange> ReadKeyChanges(const std::string& path) {
    static const std::map<std::string, int> KEYS = {
        {"RETURN", SDLK_RETURN}, {"SPACE", SDLK_SPACE}, {"PAUSE", SDLK_PAUSE}};
    std::vector<KeyChange> changes;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream words(line);
        int frame;
        std::string key, state;
        if (line.empty() || line[0] == '#' || !(words >> frame >> key >> state) ||
            !KEYS.count(key)) {
            continue;
        }
        changes.push_back({frame, KEYS.at(key), state == "down"});
    }
    return changes;
}

const char* ModeName(MODES mode) {
    switch (mode) {
        case MODE_MENU:
            return "menu";
        case MODE_SWIM:
            return "swim";
        case MODE_ENTER_THE_FISH:
            return "enter the fish";
        case MODE_CHASE:
            return "chase";
        default:
            return "?";
    }
}

class ReplayTest : public SoundWorldTest {
protected:
    Settings settings;
    std::uint8_t keys[SDLK_LAST] = {};

    void SetUp() override {
        SoundWorldTest::SetUp();
        game.SetDefaultSettings(&settings);
        InputTask::pressedKeys = keys;
    }
    // The state the program keeps across games, back as at its start.
    static void ResetProgramState() {
        WorldTask::fishieSpawnTimer = 0.0;
        WorldTask::seedWeedSpawnTimer = 0.0;
        WorldTask::subGoingUp = false;
        WorldTask::my_pausedPress = false;
        WorldTask::direction = 1;
        WorldTask::music = WorldTask::MusicState();
        Sub::myDroneRise = true;
        Sub::my_droneTimer = 0.0;
    }
    void TearDown() override {
        InputTask::pressedKeys = nullptr;
        SoundWorldTest::TearDown();
    }

    // Plays the recording for a number of frames in a fresh world and tells what happened.
    std::string Replay(const std::vector<KeyChange>& changes, unsigned seed, int frames) {
        return Replay(world, changes, seed, frames);
    }
    std::string Replay(WorldTask& world, const std::vector<KeyChange>& changes, unsigned seed,
                       int frames, const std::function<void(int)>& afterFrame = nullptr) {
        std::fill(std::begin(keys), std::end(keys), 0);
        ResetProgramState();
        static const double FRAME_TIMES[3] = {0.016, 0.017, 0.017};
        tobrin::srand(seed);
        world.my_highScore = 0;
        world.my_circleZoom.Reset();
        world.SetupWorld();
        std::ostringstream summary;
        summary << "seed " << seed << ", " << frames << " frames\n";
        MODES mode = world.my_mode;
        long eaten = 0, score = world.my_score;
        bool chomped = false;
        size_t next = 0;
        for (int frame = 0; frame < frames; ++frame) {
            for (; next < changes.size() && changes[next].frame == frame; ++next) {
                keys[changes[next].key] = changes[next].down;
            }
            GlobalTimer::deltaTime = FRAME_TIMES[frame % 3];
            world.AdvanceWorld();
            world.UpdateScreen();
            if (afterFrame) {
                afterFrame(frame);
            }
            if (world.my_score > score) {
                eaten += world.my_score - score;
            }
            score = world.my_score;
            if (world.my_sub.state == SUB_CHOMPED && !chomped) {
                summary << "frame " << frame << ": chomped with " << world.my_score
                        << " points, sub at x " << static_cast<long>(world.my_sub.x) << "\n";
            }
            chomped = world.my_sub.state == SUB_CHOMPED;
            if (world.my_mode != mode) {
                mode = world.my_mode;
                summary << "frame " << frame << ": " << ModeName(mode);
                if (mode == MODE_MENU) {
                    summary << ", last score " << world.my_lastScore << ", high score "
                            << world.my_highScore;
                }
                summary << "\n";
            }
        }
        summary << "fishies eaten " << eaten << ", score " << world.my_score << ", high score "
                << world.my_highScore << ", fishies live " << world.my_fishies.Size()
                << ", weeds live " << world.my_seedWeeds.Size() << "\n";
        return summary.str();
    }
};

TEST_F(ReplayTest, TwoRecordedGamesPlayOutAsBefore) {
    std::string folder = std::string(TOBRIN_SOURCE_DIR) + "/tests/replay/";
    std::string summary = Replay(ReadKeyChanges(folder + "two_games.keys"), 20261206, 9000);
    std::string expectedPath = folder + "two_games.expected";
    const char* accept = std::getenv("TOBRIN_ACCEPT_REPLAY");
    if (accept && std::string(accept) == "1") {
        WriteTextFile(expectedPath, summary);
    }
    EXPECT_EQ(summary, ReadTextFile(expectedPath))
        << "the replay played out differently; if the change is meant, accept it with "
           "TOBRIN_ACCEPT_REPLAY=1";
    EXPECT_NE(summary.find("chomped"), std::string::npos) << "the recording must reach a chomp";
}

TEST_F(ReplayTest, SameSeedAndKeysGiveTheSameGameInAFreshWorld) {
    std::vector<KeyChange> changes =
        ReadKeyChanges(std::string(TOBRIN_SOURCE_DIR) + "/tests/replay/two_games.keys");
    std::string first = Replay(changes, 7, 3000);
    WorldTask fresh;
    game.worldTask = &fresh;
    ASSERT_TRUE(fresh.LoadSounds());
    std::string second = Replay(fresh, changes, 7, 3000);
    fresh.ReleaseSounds();
    game.worldTask = &world;
    EXPECT_EQ(first, second);
    EXPECT_NE(first, Replay(world, changes, 8, 3000)) << "another seed, another ocean";
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
    std::string summary = Replay(world, changes, 99, FRAMES, [&](int frame) {
        size_t& peak = frame < FRAMES / 10 ? warm : later;
        peak = std::max(peak, mallinfo2().uordblks);
    });
    EXPECT_GE(std::count(summary.begin(), summary.end(), '\n'), 10) << summary;
    EXPECT_LT(later, warm + 64 * 1024)
        << "most in use in the first minute " << warm << ", after it " << later;
}

}  // namespace
