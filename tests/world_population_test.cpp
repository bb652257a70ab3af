// Keeping the ocean populated: schools and seed weeds spawned ahead of the submarine, the
// restock of a new scene, and the world's rules for each fishie and weed. The generator is
// seeded, so every spawn, angle and sound is predicted exactly from the same numbers.
#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/big_fish.h"
#include "game/fishie.h"
#include "game/game.h"
#include "game/game_constants.h"
#include "game/seed_weed.h"
#include "game/sub.h"
#include "game/world_task.h"
#include "platform/random.h"
#include "sound_world.h"

namespace {

using Draws = std::vector<int>;

double Unit(int draw) {
    return draw / 32767.0;
}

// The first numbers the generator gives after srand(seed).
Draws DrawsFrom(unsigned seed, int count) {
    tobrin::srand(seed);
    Draws draws;
    for (int i = 0; i < count; ++i) {
        draws.push_back(tobrin::rand());
    }
    return draws;
}

// The first seed whose opening numbers are wanted; the generator is left seeded with it.
unsigned SeedWhere(int count, const std::function<bool(const Draws&)>& wanted) {
    for (unsigned seed = 1;; ++seed) {
        if (wanted(DrawsFrom(seed, count))) {
            tobrin::srand(seed);
            return seed;
        }
    }
}

// How many numbers were drawn since srand(seed), recognised by the next three.
int DrawsSince(unsigned seed) {
    Draws next = {tobrin::rand(), tobrin::rand(), tobrin::rand()};
    Draws draws = DrawsFrom(seed, 300);
    for (size_t i = 0; i + 3 <= draws.size(); ++i) {
        if (Draws(draws.begin() + i, draws.begin() + i + 3) == next) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// A school's places from its tip, in the order they are filled: four columns, top first.
const double kSchoolPlaces[10][2] = {{0.0, 0.0},    {-0.1, 0.05}, {-0.1, -0.05}, {-0.2, 0.1},
                                     {-0.2, 0.0},   {-0.2, -0.1}, {-0.3, 0.15},  {-0.3, 0.05},
                                     {-0.3, -0.05}, {-0.3, -0.15}};

// The bearing of a place seen from the origin, in the game's degrees.
double Bearing(double dx, double dy) {
    return std::atan2(dy, dx) * 180 / PI;
}

// A place 0.4 from the origin whose bearing is exactly `degrees`: built from cos and sin,
// then nudged along y by its last bits until the bearing comes out exact.
void PlaceAtBearing(double degrees, double* x, double* y) {
    *x = 0.4 * std::cos(degrees * PI / 180);
    double up = 0.4 * std::sin(degrees * PI / 180);
    double down = up;
    for (int i = 0; i < 4096;
         ++i, up = std::nextafter(up, 1.0), down = std::nextafter(down, -1.0)) {
        for (double candidate : {up, down}) {
            if (Bearing(*x, candidate) == degrees) {
                *y = candidate;
                return;
            }
        }
    }
    FAIL() << "no place found exactly at " << degrees << " degrees";
}

// A swimming fishie at (x, y).
Fishie FishieAt(double x, double y) {
    Fishie fishie;
    fishie.x = x;
    fishie.y = y;
    return fishie;
}

// A weed at rest at (x, y) that will not twitch during a test. Making it draws a number.
SeedWeed WeedAt(double x, double y) {
    SeedWeed weed;
    weed.x = x;
    weed.y = y;
    weed.wiggleTime = 100.0;
    return weed;
}

// The world the callbacks reach through the game, with its real sounds on the dummy driver.
// The submarine swims level at the origin at 1 unit a second; the big fish is far away.
class WorldPopulation : public SoundWorldTest {
protected:
    void SetUp() override {
        SoundWorldTest::SetUp();
        WorldTask::fishieSpawnTimer = 0.0;
        WorldTask::seedWeedSpawnTimer = 0.0;
        world.my_frameTime = 0.0;
        world.my_sub.velocity = 1.0;
        world.my_bigFish.x = 1000.0;
        world.my_bigFish.y = -1000.0;
        // A chunk of weeds made in advance, since making them draws a number for each.
        world.my_seedWeeds.New();
        world.my_seedWeeds.PruneAll();
    }

    static int EffectsPlaying() { return Mix_Playing(-1); }

    // The live fishies in the order they were placed.
    std::vector<Fishie*> FishiesInOrder() {
        auto& live = world.my_fishies.liveList;
        return std::vector<Fishie*>(live.rbegin(), live.rend());
    }

    // One callback on a swimming fishie at (x, y): is it swallowed?
    bool Swallows(double x, double y) {
        Fishie fishie = FishieAt(x, y);
        UpdateFishie(&fishie);
        return fishie.state == FISHIE_SWALLOWED;
    }
    // One callback on a weed at (x, y): is it struck?
    bool Strikes(double x, double y) {
        SeedWeed weed = WeedAt(x, y);
        UpdateSeedWeed(&weed);
        return weed.velocity == SEEDWEED_COLLISION_VELOCITY;
    }
};

// ---- Schools of fishies ----

TEST_F(WorldPopulation, SchoolOfEverySizeFillsTheTrianglesPlacesInOrder) {
    world.my_sub.x = 1.5;
    world.my_sub.y = -5.0;  // every tip falls deep enough
    for (int n = 0; n <= 10; ++n) {
        SCOPED_TRACE("school of " + std::to_string(n));
        world.my_fishies.PruneAll();
        unsigned seed = SeedWhere(3, [n](const Draws& d) { return d[0] % 11 == n; });
        Draws d = DrawsFrom(seed, 3);
        double tipX = 1.5 + 4.5 + Unit(d[1]) * 0.1;
        double tipY = (Unit(d[2]) * 5.0 - 3.0) * 1.5 - 5.0;
        tobrin::srand(seed);
        world.SpawnFishie(0.25);
        EXPECT_EQ(DrawsSince(seed), 3) << "n, X and Y, even for an empty school";
        std::vector<Fishie*> fishies = FishiesInOrder();
        ASSERT_EQ(static_cast<int>(fishies.size()), n);
        for (int i = 0; i < n; ++i) {
            EXPECT_NEAR(fishies[i]->x, tipX + kSchoolPlaces[i][0], 1e-12) << i;
            EXPECT_NEAR(fishies[i]->y, tipY + kSchoolPlaces[i][1], 1e-12) << i;
            EXPECT_EQ(fishies[i]->state, FISHIE_SWIMMING);
        }
    }
}

TEST_F(WorldPopulation, SchoolTipMustBeMoreThanOneUnitUnderTheSurface) {
    // The depth draw is 32767: the tip is 3.0 above the submarine.
    unsigned seed = SeedWhere(3, [](const Draws& d) { return d[0] % 11 >= 3 && d[2] == 32767; });
    world.my_sub.y = -4.0;  // the tip at -1.0 exactly
    world.SpawnFishie(0.25);
    EXPECT_EQ(world.my_fishies.Size(), 0);
    EXPECT_EQ(DrawsSince(seed), 3);

    world.my_sub.y = std::nextafter(-4.0, -5.0);
    tobrin::srand(seed);
    world.SpawnFishie(0.25);
    ASSERT_EQ(world.my_fishies.Size(), DrawsFrom(seed, 1)[0] % 11);
    EXPECT_LT(FishiesInOrder()[0]->y, -1.0);
}

TEST_F(WorldPopulation, NoSchoolWhileThePoolHoldsItsLimitCheckedOncePerSchool) {
    world.my_sub.y = -5.0;
    for (int i = 0; i < FISHIE_MIN_POPULATION; ++i) {
        world.my_fishies.New();
    }
    unsigned seed = SeedWhere(3, [](const Draws& d) { return d[0] % 11 == 10; });
    world.SpawnFishie(0.25);
    EXPECT_EQ(world.my_fishies.Size(), 2048);
    EXPECT_EQ(DrawsSince(seed), 0) << "no attempt at all";

    world.my_fishies.liveList.front()->Kill();
    world.my_fishies.Prune();
    tobrin::srand(seed);
    world.SpawnFishie(0.25);
    EXPECT_EQ(world.my_fishies.Size(), 2057) << "one short of the limit, a whole school comes";
}

// ---- Spawn timers ----

TEST_F(WorldPopulation, SchoolAttemptEveryQuarterSecondWithTheRemainderKept) {
    world.my_sub.y = -5.0;  // each attempt draws exactly three numbers
    const unsigned seed = 77;
    tobrin::srand(seed);
    world.SpawnFishie(0.2);
    EXPECT_EQ(DrawsSince(seed), 0);
    tobrin::srand(seed);
    world.SpawnFishie(0.1);
    EXPECT_EQ(DrawsSince(seed), 3);
    EXPECT_NEAR(WorldTask::fishieSpawnTimer, 0.05, 1e-12);
    tobrin::srand(seed);
    world.SpawnFishie(0.2);
    EXPECT_EQ(DrawsSince(seed), 3) << "0.05 left over and 0.2 make a quarter";

    WorldTask::fishieSpawnTimer = 0.0;
    tobrin::srand(seed);
    world.SpawnFishie(1.0);
    EXPECT_EQ(DrawsSince(seed), 12) << "four attempts in one call";
}

TEST_F(WorldPopulation, WeedAttemptEveryTenthOfASecondWithTheRemainderKept) {
    // Every chance fails, so each attempt draws one number.
    unsigned seed = SeedWhere(12, [](const Draws& d) {
        return std::all_of(d.begin(), d.end(), [](int r) { return Unit(r) >= 0.2; });
    });
    for (int frame = 0; frame < 10; ++frame) {
        world.SpawnSeedWeed(0.01);
    }
    EXPECT_EQ(DrawsSince(seed), 0) << "ten hundredths add up to just under 0.1";
    tobrin::srand(seed);
    world.SpawnSeedWeed(0.01);
    EXPECT_EQ(DrawsSince(seed), 1);
    EXPECT_NEAR(WorldTask::seedWeedSpawnTimer, 0.01, 1e-12);

    WorldTask::seedWeedSpawnTimer = 0.0;
    tobrin::srand(seed);
    world.SpawnSeedWeed(0.5);
    EXPECT_EQ(DrawsSince(seed), 5);
    EXPECT_EQ(world.my_seedWeeds.Size(), 0);
}

// ---- Seed weeds ----

TEST_F(WorldPopulation, WeedIsPlacedAheadWithTwoDifferentStrands) {
    world.my_sub.x = 2.0;
    world.my_sub.y = -5.0;
    // The chance goes on; the pool's reset draws the fourth number; the first draw for the
    // back strand repeats the front one, so it is drawn again.
    unsigned seed =
        SeedWhere(6, [](const Draws& d) { return Unit(d[0]) < 0.2 && d[5] % 8 == d[4] % 8; });
    Draws d = DrawsFrom(seed, 40);
    size_t under = 5;
    while (d[under] % 8 == d[4] % 8) {
        ++under;
    }
    tobrin::srand(seed);
    world.SpawnSeedWeed(0.1);
    ASSERT_EQ(world.my_seedWeeds.Size(), 1);
    SeedWeed* weed = world.my_seedWeeds.liveList.front();
    EXPECT_DOUBLE_EQ(weed->x, 2.0 + 4.5 + Unit(d[1]) * 0.1);
    EXPECT_DOUBLE_EQ(weed->y, (Unit(d[2]) * 5.0 - 3.0) * 1.5 - 5.0);
    EXPECT_DOUBLE_EQ(weed->wiggleTime, d[3] * 3.0 / 32767);
    EXPECT_EQ(weed->strandOver, d[4] % 8);
    EXPECT_EQ(weed->strandUnder, d[under] % 8);
    EXPECT_NE(weed->strandUnder, weed->strandOver);
    EXPECT_EQ(DrawsSince(seed), static_cast<int>(under) + 1);
}

TEST_F(WorldPopulation, OneWeedAttemptInFiveGoesOn) {
    world.my_sub.y = -5.0;
    unsigned seed = SeedWhere(1, [](const Draws& d) { return d[0] == 6554; });  // u just over 0.2
    world.SpawnSeedWeed(0.1);
    EXPECT_EQ(world.my_seedWeeds.Size(), 0);
    EXPECT_EQ(DrawsSince(seed), 1);

    SeedWhere(1, [](const Draws& d) { return d[0] == 6553; });  // u just under 0.2
    world.SpawnSeedWeed(0.1);
    EXPECT_EQ(world.my_seedWeeds.Size(), 1);
}

TEST_F(WorldPopulation, WeedMustBeUnderTheSurface) {
    // The depth draw is 32767: the weed is 3.0 above the submarine.
    unsigned seed = SeedWhere(3, [](const Draws& d) { return Unit(d[0]) < 0.2 && d[2] == 32767; });
    world.my_sub.y = -3.0;  // the weed at 0.0 exactly
    world.SpawnSeedWeed(0.1);
    EXPECT_EQ(world.my_seedWeeds.Size(), 0);
    EXPECT_EQ(DrawsSince(seed), 3);

    world.my_sub.y = std::nextafter(-3.0, -4.0);
    tobrin::srand(seed);
    world.SpawnSeedWeed(0.1);
    ASSERT_EQ(world.my_seedWeeds.Size(), 1);
    EXPECT_LT(world.my_seedWeeds.liveList.front()->y, 0.0);
}

TEST_F(WorldPopulation, NoWeedWhileThePoolHoldsItsLimit) {
    world.my_sub.y = -5.0;
    for (int i = 0; i < SEEDWEED_MIN_POPULATION; ++i) {
        world.my_seedWeeds.New();
    }
    unsigned seed = SeedWhere(1, [](const Draws& d) { return Unit(d[0]) < 0.2; });
    world.SpawnSeedWeed(0.1);
    EXPECT_EQ(world.my_seedWeeds.Size(), 1024);
    EXPECT_EQ(DrawsSince(seed), 0);

    world.my_seedWeeds.liveList.front()->Kill();
    world.my_seedWeeds.Prune();
    tobrin::srand(seed);
    world.SpawnSeedWeed(0.1);
    EXPECT_EQ(world.my_seedWeeds.Size(), 1024);
}

// ---- Restocking ----

TEST_F(WorldPopulation, RestockEmptiesThePoolsAndFillsTheStripAroundTheSubmarine) {
    const double startX = 0.3;  // 9 back and up again by halves ends a hair past it
    world.my_sub.x = startX;
    world.my_sub.y = WORLD_GAME_SUB_DEPTH;
    Fishie* oldFishie = world.my_fishies.New();
    oldFishie->x = startX + 1.5;
    oldFishie->y = -6.0;
    oldFishie->value = 77;  // a fishie handed out afresh is worth 1
    SeedWeed* oldWeed = world.my_seedWeeds.New();
    oldWeed->x = startX + 1.5;
    oldWeed->y = -6.0;
    oldWeed->strandOver = oldWeed->strandUnder = 5;  // never spawned so
    tobrin::srand(2024);

    world.RestockWorld();

    EXPECT_EQ(world.my_sub.x, startX) << "put back exactly";
    EXPECT_EQ(world.my_sub.y, WORLD_GAME_SUB_DEPTH);
    ASSERT_GT(world.my_fishies.Size(), 20);
    ASSERT_GT(world.my_seedWeeds.Size(), 3);
    double maxFishieX = -1e9;
    for (Fishie* f : world.my_fishies.liveList) {
        EXPECT_NE(f->value, 77) << "the old fishie went back to the pool";
        EXPECT_FALSE(f->killed);
        // Spawned 4.5 ahead, they swim at half the submarine's speed: none is far behind.
        EXPECT_GE(f->x, startX - 1.0);
        maxFishieX = std::max(maxFishieX, f->x);
    }
    EXPECT_LE(maxFishieX, startX + 4.6);
    EXPECT_GT(maxFishieX, startX + 3.5) << "the last step's schools, just out of view";
    double minWeedX = 1e9;
    for (SeedWeed* w : world.my_seedWeeds.liveList) {
        EXPECT_NE(w->strandOver, w->strandUnder) << "the old weed went back to the pool";
        EXPECT_FALSE(w->killed);
        EXPECT_LE(w->x, startX + 4.6);
        minWeedX = std::min(minWeedX, w->x);
    }
    // Weed hardly moves; the last despawn check was made with the submarine at startX - 0.5.
    EXPECT_GE(minWeedX, startX - 3.5);
    EXPECT_LT(minWeedX, startX - 2.0) << "weed the submarine has passed is still there";
}

// ---- Despawning ----

TEST_F(WorldPopulation, LeftMoreThanThreeBehindOrWeedTwelveAboveOrBelowIsKilled) {
    world.my_sub.x = 10.0;
    world.my_sub.y = -4.0;
    const double justBehind = std::nextafter(7.0, 0.0);
    for (double x : {7.0, justBehind}) {
        Fishie fishie = FishieAt(x, -4.0);
        UpdateFishie(&fishie);
        EXPECT_EQ(fishie.killed, x == justBehind) << x;
    }
    const double tooHigh = std::nextafter(8.0, 9.0);
    const double tooDeep = std::nextafter(-16.0, -17.0);
    for (auto [x, y] : {std::pair{7.0, -4.0},
                        {justBehind, -4.0},
                        {10.0, 8.0},
                        {10.0, tooHigh},
                        {10.0, -16.0},
                        {10.0, tooDeep}}) {
        SeedWeed weed = WeedAt(x, y);
        UpdateSeedWeed(&weed);
        EXPECT_EQ(weed.killed, x == justBehind || y == tooHigh || y == tooDeep) << x << ", " << y;
    }
}

// ---- Swallowing ----

TEST_F(WorldPopulation, FishieAtTheMouthsReachIsSwallowedAndHomesOnTheSubmarine) {
    Fishie fishie = FishieAt(0.5, 0.0);
    UpdateFishie(&fishie);
    EXPECT_EQ(fishie.state, FISHIE_SWALLOWED);
    EXPECT_EQ(fishie.velocity, 0.0);
    EXPECT_EQ(fishie.swallowTarget, &world.my_sub);
    EXPECT_FALSE(Swallows(std::nextafter(0.5, 1.0), 0.0));
}

TEST_F(WorldPopulation, MouthReachesFifteenDegreesEitherSideOfTheHeading) {
    for (double heading : {0.0, 30.0}) {
        world.my_sub.angle = heading;
        for (double edge : {heading - 15.0, heading + 15.0}) {
            double x = 0.0;
            double y = 0.0;
            PlaceAtBearing(edge, &x, &y);
            ASSERT_EQ(std::fabs(Bearing(x, y) - heading), 15.0);
            EXPECT_TRUE(Swallows(x, y)) << edge;
            double beyond = (edge + (edge > heading ? 0.001 : -0.001)) * PI / 180;
            EXPECT_FALSE(Swallows(0.4 * std::cos(beyond), 0.4 * std::sin(beyond))) << edge;
        }
    }
    // The difference of angles is not wrapped: 350 degrees is not taken for -10.
    double x = 0.3 * std::cos(-10 * PI / 180);
    double y = 0.3 * std::sin(-10 * PI / 180);
    world.my_sub.angle = -10.0;
    EXPECT_TRUE(Swallows(x, y));
    world.my_sub.angle = 350.0;
    EXPECT_FALSE(Swallows(x, y));
}

TEST_F(WorldPopulation, OnlyAnOpenMouthSwallowsAndOnlyASwimmingFishie) {
    world.my_sub.state = SUB_CHOMPED;
    EXPECT_FALSE(Swallows(0.3, 0.0));
    world.my_sub.state = SUB_DRONING;
    world.my_mode = MODE_MENU;
    EXPECT_TRUE(Swallows(0.3, 0.0));

    Fishie leader = FishieAt(0.1, 0.0);  // behind the homing fishie, which is not yet eaten
    Fishie homing = FishieAt(0.3, 0.0);
    homing.state = FISHIE_SWALLOWED;
    homing.velocity = 3.0;
    homing.swallowTarget = &leader;
    UpdateFishie(&homing);
    EXPECT_EQ(homing.swallowTarget, &leader);
    EXPECT_EQ(homing.velocity, 3.0);
    Fishie eaten = FishieAt(0.3, 0.0);
    eaten.state = FISHIE_EATEN;
    UpdateFishie(&eaten);
    EXPECT_EQ(eaten.state, FISHIE_EATEN);
    EXPECT_EQ(eaten.swallowTarget, nullptr);
}

// ---- Weed strikes ----

TEST_F(WorldPopulation, SubmarineStrikesWeedInsideItsSquareAndIsStopped) {
    EXPECT_FALSE(Strikes(0.1, 0.0));
    EXPECT_FALSE(Strikes(-0.1, 0.0));
    EXPECT_FALSE(Strikes(0.0, 0.1));
    EXPECT_FALSE(Strikes(0.0, -0.1));
    EXPECT_EQ(world.my_sub.velocity, 1.0);
    EXPECT_TRUE(Strikes(0.0999, -0.0999));
    EXPECT_EQ(world.my_sub.velocity, 0.0);
    EXPECT_TRUE(Strikes(-0.0999, 0.0999));

    world.my_sub.velocity = 1.0;
    world.my_sub.state = SUB_CHOMPED;
    EXPECT_FALSE(Strikes(0.0, 0.0));
    world.my_mode = MODE_MENU;
    for (int state : {SUB_SWIMMING, SUB_DRONING}) {
        world.my_sub.state = state;
        EXPECT_TRUE(Strikes(0.05, 0.0)) << state;
    }
    EXPECT_EQ(world.my_sub.velocity, 1.0) << "not slowed in the menu";
}

TEST_F(WorldPopulation, StruckWeedGoesOffRightwardsAwayFromItsStriker) {
    WorldTask::my_playSounds = false;
    SeedWeed below = WeedAt(0.05, -0.05);
    SeedWeed above = WeedAt(0.05, 0.05);
    SeedWeed underFish = WeedAt(10.3, -0.2);
    world.my_bigFish.x = 10.0;
    world.my_bigFish.y = 0.0;
    unsigned seed = SeedWhere(1, [](const Draws& d) { return d[0] > 1000; });
    double angle = Unit(DrawsFrom(seed, 1)[0]) * 90.0;
    for (SeedWeed* weed : {&below, &above, &underFish}) {
        tobrin::srand(seed);
        UpdateSeedWeed(weed);
        EXPECT_EQ(weed->velocity, 2.0);
    }
    EXPECT_DOUBLE_EQ(below.angle, -angle) << "the submarine is above it";
    EXPECT_DOUBLE_EQ(above.angle, angle);
    EXPECT_DOUBLE_EQ(underFish.angle, -angle) << "the fish is above it";
}

TEST_F(WorldPopulation, BigFishReachesHalfAUnitInSinglePrecision) {
    world.my_bigFish.x = 10.0;
    world.my_bigFish.y = 0.0;
    EXPECT_TRUE(Strikes(10.5, 0.0));
    EXPECT_TRUE(Strikes(10.0, -0.500000005)) << "0.4f + 0.1 is 0.5000000059604645";
    EXPECT_FALSE(Strikes(10.0, -0.50000001));
    EXPECT_FALSE(Strikes(9.4999, 0.0));
    EXPECT_EQ(world.my_sub.velocity, 1.0) << "the fish does not stop the submarine";
}

// ---- Collision sounds ----

TEST_F(WorldPopulation, StrikeSoundsOnceThenTheWeedIsSilentForAFifthOfASecond) {
    world.my_frameTime = 0.05;
    SeedWeed weed = WeedAt(0.05, 0.0);
    const unsigned seed = 5;
    tobrin::srand(seed);
    UpdateSeedWeed(&weed);
    EXPECT_EQ(EffectsPlaying(), 1);
    EXPECT_EQ(weed.soundDelay, 0.2);
    EXPECT_EQ(DrawsSince(seed), 2) << "the angle, then the sound's variant";

    // Struck again while its delay runs: silent, and the delay counts down.
    Mix_HaltChannel(-1);
    weed = WeedAt(0.05, 0.0);
    weed.soundDelay = 0.2;
    UpdateSeedWeed(&weed);
    EXPECT_EQ(weed.velocity, 2.0);
    EXPECT_EQ(EffectsPlaying(), 0);
    EXPECT_NEAR(weed.soundDelay, 0.15, 1e-12);
    // Out of reach it counts down all the same.
    weed = WeedAt(1.0, 0.0);
    weed.soundDelay = 0.15;
    UpdateSeedWeed(&weed);
    EXPECT_NEAR(weed.soundDelay, 0.1, 1e-12);
}

TEST_F(WorldPopulation, ChasingFishStrikeSoundsUnlessEffectsAreOff) {
    world.my_bigFish.mode = BIGFISH_CHASE;
    world.my_bigFish.x = 5.0;
    world.my_bigFish.y = 0.0;
    SeedWeed weed = WeedAt(5.2, 0.0);
    UpdateSeedWeed(&weed);
    EXPECT_EQ(EffectsPlaying(), 1);
    EXPECT_EQ(weed.soundDelay, 0.2);

    Mix_HaltChannel(-1);
    WorldTask::my_playSounds = false;
    EXPECT_TRUE(Strikes(5.2, 0.0));
    EXPECT_TRUE(Strikes(0.05, 0.0));
    EXPECT_EQ(EffectsPlaying(), 0);
}

TEST_F(WorldPopulation, DroningSubmarineAndEscortingFishStrikeSilently) {
    world.my_mode = MODE_MENU;
    world.my_sub.state = SUB_DRONING;
    world.my_bigFish.mode = BIGFISH_ESCORT;
    world.my_bigFish.x = 5.0;
    world.my_bigFish.y = 0.0;
    SeedWeed bySub = WeedAt(0.05, 0.0);
    SeedWeed byFish = WeedAt(5.2, 0.0);
    UpdateSeedWeed(&bySub);
    UpdateSeedWeed(&byFish);
    EXPECT_EQ(bySub.velocity, 2.0);
    EXPECT_EQ(byFish.velocity, 2.0);
    EXPECT_EQ(EffectsPlaying(), 0);
    EXPECT_EQ(bySub.soundDelay + byFish.soundDelay, 0.0);
}

TEST_F(WorldPopulation, WeedStruckByBothInOneCallSoundsTwice) {
    world.my_bigFish.mode = BIGFISH_CHASE;
    world.my_bigFish.x = 0.3;
    world.my_bigFish.y = 0.2;
    SeedWeed weed = WeedAt(0.05, 0.0);
    const unsigned seed = 9;
    tobrin::srand(seed);
    UpdateSeedWeed(&weed);
    EXPECT_EQ(EffectsPlaying(), 2);
    EXPECT_EQ(weed.soundDelay, 0.2);
    EXPECT_EQ(DrawsSince(seed), 4) << "each strike draws an angle and a variant";
    EXPECT_DOUBLE_EQ(weed.angle, -Unit(DrawsFrom(seed, 3)[2]) * 90.0)
        << "the fish strikes last, from above";
}

}  // namespace
