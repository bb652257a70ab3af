// The object pool: growth by chunks, the order of reuse, pruning and iteration.
#include <vector>

#include "engine/pool.h"
#include "test_support.h"

namespace {

int destroyed = 0;

class Item final : public PoolElement {
public:
    int resets = 0;
    int value = 0;
    void Reset() override {
        ++resets;
        value = 0;
    }
    ~Item() { ++destroyed; }
};

using PoolTest = InTempDir;

std::vector<Item*> Live(Pool<Item>& pool) {
    return {pool.liveList.begin(), pool.liveList.end()};
}
std::vector<Item*> Free(Pool<Item>& pool) {
    return {pool.freeList.begin(), pool.freeList.end()};
}

TEST_F(PoolTest, GrowsByAWholeChunkWhenItRunsDry) {
    Pool<Item> pool(4);
    EXPECT_EQ(pool.Size(), 0);
    EXPECT_TRUE(pool.freeList.empty());
    pool.New();
    EXPECT_EQ(pool.Size(), 1);
    EXPECT_EQ(pool.freeList.size(), 3u);
    for (int i = 0; i < 4; ++i) {
        pool.New();
    }
    EXPECT_EQ(pool.Size(), 5);
    EXPECT_EQ(pool.freeList.size(), 3u);
}

TEST_F(PoolTest, NewestIsAtTheFrontAndIsReset) {
    Pool<Item> pool(8);
    Item* first = pool.New();
    first->value = 7;
    first->Kill();
    Item* second = pool.New();
    EXPECT_EQ(Live(pool), (std::vector<Item*>{second, first}));
    pool.Prune();
    Item* again = pool.New();
    EXPECT_EQ(again, first);
    EXPECT_FALSE(again->killed);
    EXPECT_EQ(again->value, 0);
    EXPECT_EQ(again->resets, 2);
}

TEST_F(PoolTest, PrunedElementsComeBackLastPrunedFirst) {
    Pool<Item> pool(8);
    Item* e3 = pool.New();
    Item* e2 = pool.New();
    Item* e1 = pool.New();
    ASSERT_EQ(Live(pool), (std::vector<Item*>{e1, e2, e3}));
    e1->Kill();
    e3->Kill();
    EXPECT_EQ(pool.Size(), 3);  // killed elements count until pruned
    pool.Prune();
    EXPECT_EQ(Live(pool), (std::vector<Item*>{e2}));
    EXPECT_TRUE(e3->killed);  // the flag stays until the element is handed out again
    EXPECT_EQ(pool.New(), e3);
    EXPECT_EQ(pool.New(), e1);
}

TEST_F(PoolTest, PruneWithNothingKilledChangesNothing) {
    Pool<Item> pool(8);
    pool.New();
    pool.New();
    std::vector<Item*> live = Live(pool), free = Free(pool);
    pool.Prune();
    EXPECT_EQ(Live(pool), live);
    EXPECT_EQ(Free(pool), free);
}

TEST_F(PoolTest, PruneAllPutsTheLiveElementsInFrontInReverse) {
    Pool<Item> pool(3);
    Item* e3 = pool.New();
    Item* e2 = pool.New();
    Item* e1 = pool.New();
    e2->Kill();
    pool.PruneAll();
    EXPECT_EQ(pool.Size(), 0);
    EXPECT_EQ(Free(pool), (std::vector<Item*>{e3, e2, e1}));
    EXPECT_TRUE(e2->killed);
}

TEST_F(PoolTest, IterateVisitsNewestFirstIncludingKilledAndSkipsWhatItSpawns) {
    static Pool<Item>* spawner;
    static std::vector<Item*> visited;
    Pool<Item> pool(2);
    spawner = &pool;
    visited.clear();
    Item* older = pool.New();
    Item* newer = pool.New();
    older->Kill();
    pool.Iterate([](Item* item) {
        visited.push_back(item);
        spawner->New()->Kill();  // spawning during the walk, and growing the pool
    });
    EXPECT_EQ(visited, (std::vector<Item*>{newer, older}));
    EXPECT_EQ(pool.Size(), 4);
}

TEST_F(PoolTest, NullEntriesAreLoggedAndPassedOver) {
    static int calls;
    calls = 0;
    Pool<Item> pool(2);
    pool.New();
    pool.liveList.push_back(nullptr);
    pool.Iterate([](Item*) { ++calls; });
    pool.Prune();
    pool.liveList.pop_back();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(LogLines(), std::vector<std::string>{"This pool pointer should not be NULL!"});
}

TEST_F(PoolTest, ChunkSizeBelowOneGivesNullWithAMessage) {
    Pool<Item> pool(0);
    EXPECT_EQ(pool.New(), nullptr);
    EXPECT_EQ(LogLines(), std::vector<std::string>{"Out of memory in pool!"});
    EXPECT_EQ(CapturedBoxes(), std::vector<std::string>{"Kelo Message|Out of memory in pool!"});
}

TEST_F(PoolTest, DestroyingThePoolFreesLiveAndFreeElements) {
    destroyed = 0;
    {
        Pool<Item> pool(5);
        pool.New();
        pool.New();
    }
    EXPECT_EQ(destroyed, 5);
}

}  // namespace
