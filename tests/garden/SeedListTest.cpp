#include "garden/SeedList.h"

#include "GardenFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int releases = 0;
int oneSprite() { return 1; }
void countRelease(int) { ++releases; }

std::vector<const Seed*> seedsInOrder()
{
    std::vector<const Seed*> out;
    for (const auto& s : SeedList::instance().seeds()) {
        out.push_back(s.get());
    }
    return out;
}

}  // namespace

class SeedListTest : public GardenTest {
protected:
    SeedList& list = SeedList::instance();

    Seed* addSeed(float x, float y)
    {
        std::unique_ptr<Seed> seed = makeSeed(x, y);
        Seed* raw = seed.get();
        list.add(std::move(seed));
        return raw;
    }
};

TEST_F(SeedListTest, InstanceIsOneObject)
{
    EXPECT_EQ(&SeedList::instance(), &SeedList::instance());
}

TEST_F(SeedListTest, HitTestReachesTwoUnitsAndTheNewerSeedWins)
{
    Seed* first = addSeed(0.0f, 10.0f);
    Seed* second = addSeed(1.0f, 10.0f);
    EXPECT_EQ(list.hitTest(0.5f, 10.0f), second);
    EXPECT_EQ(list.hovered(), second);

    struct Case {
        float x, y;
        Seed* expected;
    };
    const Case cases[] = {
        {-2.0f, 10.0f, first},   // exactly 2 from the first
        {0.0f, 12.0f, first},
        {0.0f, 8.0f, first},
        {3.0f, 10.0f, second},   // exactly 2 from the second
        {-2.01f, 10.0f, nullptr},
        {3.01f, 10.0f, nullptr},
        {0.0f, 12.01f, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.hitTest(c.x, c.y), c.expected) << "(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(list.hovered(), c.expected);
    }
}

TEST_F(SeedListTest, RemoveDestroysTheSeedAndEmptiesItsSlots)
{
    gardenHooks.makeSeedSprite = oneSprite;
    gardenHooks.releaseSprite = countRelease;
    releases = 0;
    Seed* a = addSeed(-10.0f, 10.0f);
    Seed* b = addSeed(0.0f, 10.0f);
    Seed* c = addSeed(10.0f, 10.0f);

    std::unique_ptr<Seed> stranger = makeSeed(0.0f, 10.0f);
    list.setSelected(a);
    list.hitTest(0.0f, 10.0f);
    list.remove(stranger.get());
    EXPECT_EQ(seedsInOrder(), (std::vector<const Seed*>{a, b, c}));
    EXPECT_EQ(list.hovered(), b);
    EXPECT_EQ(list.selected(), a);
    EXPECT_EQ(releases, 0);

    list.setSelected(b);
    list.remove(b);
    EXPECT_EQ(seedsInOrder(), (std::vector<const Seed*>{a, c}));
    EXPECT_EQ(list.hovered(), nullptr);
    EXPECT_EQ(list.selected(), nullptr);
    EXPECT_EQ(releases, 1);

    list.setSelected(c);
    list.hitTest(-10.0f, 10.0f);
    list.remove(c);  // only the slot that held it is emptied
    EXPECT_EQ(list.hovered(), a);
    EXPECT_EQ(list.selected(), nullptr);
}

TEST_F(SeedListTest, ClearDestroysEverySeedAndEmptiesBothSlots)
{
    list.clear();
    EXPECT_TRUE(list.seeds().empty());
    EXPECT_EQ(list.hovered(), nullptr);
    EXPECT_EQ(list.selected(), nullptr);

    gardenHooks.makeSeedSprite = oneSprite;
    gardenHooks.releaseSprite = countRelease;
    releases = 0;
    Seed* a = addSeed(0.0f, 10.0f);
    addSeed(5.0f, 10.0f);
    list.setSelected(a);
    list.hitTest(5.0f, 10.0f);
    list.clear();
    EXPECT_TRUE(list.seeds().empty());
    EXPECT_EQ(list.hovered(), nullptr);
    EXPECT_EQ(list.selected(), nullptr);
    EXPECT_EQ(releases, 2);
}

TEST_F(SeedListTest, StartingSeedsAreLaidInTableOrderAfterAClear)
{
    addStartingSeeds();
    list.hitTest(0.0f, 10.0f);
    list.clear();
    addStartingSeeds();

    const float xs[] = {-20.0f, 0.0f, 20.0f};
    ASSERT_EQ(list.seeds().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const Seed& s = *list.seeds()[i];
        EXPECT_EQ(s.x(), xs[i]);
        EXPECT_EQ(s.y(), 10.0f);
        EXPECT_TRUE(traitsMatch(s.getTraits(), startingTraits(i))) << "seed " << i;
    }
    EXPECT_EQ(list.hovered(), nullptr);
}
