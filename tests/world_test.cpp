// SPDX-License-Identifier: GPL-3.0-or-later
// The world's flow, headless: from the menu through a game and back with the high score kept,
// what the menu offers, and how every game starts.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <set>

#include "engine/input_task.h"
#include "game/game_constants.h"
#include "platform/random.h"
#include "world_fixture.h"

namespace {

// The whole flow through the frame functions, with a key table of the test's own.
class WorldFlow : public DrivenWorldTest {
protected:
    void SetUp() override {
        DrivenWorldTest::SetUp();
        tobrin::srand(2026);
        world.SetupWorld();
    }
    int FramesUntil(const std::function<bool()>& done, int limit = 2000) {
        int frames = 0;
        for (; !done() && frames < limit; ++frames) {
            Frames(1);
        }
        return frames;
    }
    void Chomp() {
        BigFish& fish = world.my_bigFish;
        double mouth = (fish.angle - BIGFISH_MOUTH_ANGLE) * BIGFISH_DEGREES_TO_RADIANS;
        fish.x = world.my_sub.x - std::cos(mouth) * 0.36;
        fish.y = world.my_sub.y - std::sin(mouth) * 0.36;
        Frames(1);
    }
};

// A chomp ends the game: the circle closes on the fish and the menu returns after about 3.3
// seconds, saving the score at once where it beats the best, and only then.
TEST_F(WorldFlow, ChompReturnsToTheMenuAndABeatenHighScoreIsSavedAtOnce) {
    struct Case {
        long best, score;
        const char* saved;
    } cases[] = {{5, 3, ""}, {5, 5, ""}, {5, 9, "HIGH_SCORE=9\n"}, {-2, 0, "HIGH_SCORE=0\n"}};
    for (const Case& c : cases) {
        std::filesystem::remove("tobrin.cfg");
        world.my_highScore = c.best;
        StartAGame();
        Frames(120);  // the opening circle has ended
        world.my_fishies.PruneAll();
        world.my_score = c.score;
        world.Stop();  // a quit in the middle of the game saves as its end does
        std::string atQuit = ReadTextFile("tobrin.cfg");
        EXPECT_EQ(atQuit.substr(0, atQuit.find('\n') + 1), c.saved) << c.best << " " << c.score;
        EXPECT_TRUE(world.LoadSounds());
        std::filesystem::remove("tobrin.cfg");
        world.my_highScore = c.best;
        Chomp();
        ASSERT_EQ(world.my_sub.state, SUB_CHOMPED);
        EXPECT_EQ(world.music.tune, SND_EATEN_TUNE);
        int frames = FramesUntil([&] {
            EXPECT_TRUE(world.my_mode == MODE_MENU || world.my_sub.x == world.my_bigFish.x)
                << "the sub rides inside the fish";
            return world.my_mode == MODE_MENU;
        });
        EXPECT_NEAR(frames * 0.01, 4.0 / 1.2, 0.02);
        EXPECT_EQ(world.music.tune, SND_BRINY);
        EXPECT_EQ(world.my_lastScore, c.score);
        EXPECT_EQ(world.my_highScore, std::max(c.best, c.score));
        std::string saved = ReadTextFile("tobrin.cfg");
        EXPECT_EQ(saved.substr(0, saved.find('\n') + 1), c.saved) << c.best << " " << c.score;
    }
}

// The menu names the control in use: its first caption says how to start with it, the offer of
// the best game how to watch it, and either takes another control's words as soon as that one
// is used.
TEST_F(WorldFlow, TheMenuNamesTheControlInUse) {
    const struct {
        INPUT_DEVICE device;
        IMAGES start, watch;
    } rows[] = {{INPUT_KEYS, IMG_TEXT_PRESS_ENTER, IMG_TEXT_PRESS_R},
                {INPUT_MOUSE, IMG_TEXT_CLICK_START, IMG_TEXT_CLICK_WATCH},
                {INPUT_TOUCH, IMG_TEXT_TAP_START, IMG_TEXT_TAP_WATCH},
                {INPUT_PAD, IMG_TEXT_PAD_START, IMG_TEXT_PAD_WATCH}};
    const Billboard& caption = world.my_menuBillboards[MENU_CAPTION_BILLBOARD];
    for (const auto& row : rows) {
        InputTask::lastUsed = row.device;
        world.my_greeted = false;
        world.OpenMenu();
        EXPECT_EQ(caption.image, row.start);
        world.my_offerBestGame = true;
        world.OpenMenu();
        EXPECT_EQ(caption.image, row.watch);
        for (const auto& other : rows) {
            InputTask::lastUsed = other.device;
            Frame(0.01);
            EXPECT_EQ(caption.image, other.watch) << row.device << " then " << other.device;
        }
    }
}

// The captions' cycle offers the best game only once there is one to watch.
TEST_F(WorldFlow, TheCaptionsOfferTheBestGameOnlyOnceThereIsOne) {
    for (bool kept : {false, true}) {
        world.my_hasBestGame = kept;
        world.OpenMenu();
        std::set<int> shown;
        for (int frame = 0; frame < 1000; ++frame) {  // 100 s: the whole cycle and more
            Frame(0.1);
            shown.insert(world.my_menuBillboards[MENU_CAPTION_BILLBOARD].image);
        }
        EXPECT_EQ(shown.count(IMG_TEXT_PRESS_R), kept ? 1u : 0u);
        EXPECT_EQ(shown.count(IMG_TEXT_PRESS_ESCAPE), 1u);
    }
}

// What the submarine swallows or strikes in the ocean simulated ahead of a new game neither
// scores, sounds nor slows it: checked in the frame each of a thousand chases begins.
TEST_F(WorldFlow, EveryGameStartsAtNoPointsAndFullSpeed) {
    int spoiled = 0, slowed = 0;
    for (unsigned seed = 1; seed <= 1000; ++seed) {
        tobrin::srand(seed);
        StartAGame();
        ASSERT_EQ(world.my_mode, MODE_CHASE);
        auto& live = world.my_fishies.liveList;
        spoiled += world.my_score != 0 || std::any_of(live.begin(), live.end(), [](Fishie* f) {
                       return f->state == FISHIE_SWALLOWED;
                   });
        slowed += world.my_sub.velocity != SUB_STANDARD_SPEED;
        Frames(10);  // the next start finds the submarine as a game leaves it
        world.SetupMenu();
    }
    EXPECT_EQ(spoiled, 0) << "of 1000 games";
    EXPECT_EQ(slowed, 0) << "of 1000 games, stopped by a weed of the past";
}

}  // namespace
