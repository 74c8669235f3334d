#include "garden/GardenHooks.h"
#include "garden/Seed.h"

#include "GardenFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int nextSprite = 0;
std::vector<int> released;

int makeNumberedSprite() { return nextSprite++; }
int makeFailedSprite() { return -1; }
void recordRelease(int sprite) { released.push_back(sprite); }

}  // namespace

class SeedTest : public GardenTest {
protected:
    void SetUp() override
    {
        GardenTest::SetUp();
        nextSprite = 5;
        released.clear();
    }
};

TEST_F(SeedTest, EachSeedMakesItsOwnSpriteAndGivesItBack)
{
    gardenHooks.makeSeedSprite = makeNumberedSprite;
    gardenHooks.releaseSprite = recordRelease;
    {
        Seed a;
        Seed b;
        EXPECT_EQ(a.sprite(), 5);
        EXPECT_EQ(b.sprite(), 6);
        EXPECT_EQ(a.x(), 0.0f);
        EXPECT_EQ(a.y(), 0.0f);
        EXPECT_TRUE(released.empty());
    }
    EXPECT_EQ(released, (std::vector<int>{6, 5}));
}

TEST_F(SeedTest, NothingIsReleasedWithoutASprite)
{
    gardenHooks.releaseSprite = recordRelease;
    { Seed noHookAtAll; EXPECT_EQ(noHookAtAll.sprite(), -1); }
    gardenHooks.makeSeedSprite = makeFailedSprite;
    { Seed failedPicture; }
    EXPECT_TRUE(released.empty());

    // A sprite made while the hooks were set, destroyed after they were emptied.
    gardenHooks.makeSeedSprite = makeNumberedSprite;
    std::unique_ptr<Seed> late(new Seed);
    gardenHooks = GardenHooks();
    late.reset();
    EXPECT_TRUE(released.empty());
}
