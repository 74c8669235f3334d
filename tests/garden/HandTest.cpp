#include "garden/FlowerList.h"
#include "garden/GardenHooks.h"
#include "garden/Hand.h"
#include "garden/Random.h"
#include "garden/SeedList.h"

#include "GardenFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

int finishSounds = 0;
int nextSprite = 0;
std::vector<int> madeSprites;
std::vector<int> releasedSprites;

void countFinishSound() { ++finishSounds; }
int makeNumberedSprite()
{
    madeSprites.push_back(nextSprite);
    return nextSprite++;
}
void recordRelease(int sprite) { releasedSprites.push_back(sprite); }

}  // namespace

// A new game: the three starting seeds at (-20, 10), (0, 10), (20, 10).
class HandTest : public GardenTest {
protected:
    SeedList& seeds = SeedList::instance();
    FlowerList& flowers = FlowerList::instance();

    void SetUp() override
    {
        GardenTest::SetUp();
        finishSounds = 0;
        nextSprite = 1;
        madeSprites.clear();
        releasedSprites.clear();
        gardenHooks.playFinishSound = countFinishSound;
        addStartingSeeds();
    }

    // Moves onto the seed at (x, 10) and picks it up.
    Seed* pickUp(float x)
    {
        handMotion(x, 10.0f);
        handClick(x, 10.0f);
        EXPECT_EQ(handState, CarryingSeed);
        return seeds.selected();
    }

    // Takes the seed at (seedX, 10), plants it at (plantX, 0) and grows it
    // straight up to length 20.
    Flower* growFlower(float seedX, float plantX)
    {
        pickUp(seedX);
        handClick(plantX, 0.0f);
        EXPECT_EQ(handState, Growing);
        Flower* f = growingFlower.get();
        handMotion(plantX, 20.0f);
        EXPECT_EQ(handState, Idle);
        return f;
    }

    void expectDragAtZero()
    {
        EXPECT_EQ(dragSegment.startX, 0.0f);
        EXPECT_EQ(dragSegment.startY, 0.0f);
        EXPECT_EQ(dragSegment.endX, 0.0f);
        EXPECT_EQ(dragSegment.endY, 0.0f);
    }

    bool inSeedList(const Seed* s) const
    {
        for (const auto& seed : seeds.seeds()) {
            if (seed.get() == s) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(HandTest, PicksUpTheSeedAndCarriesItAnywhere)
{
    handMotion(-20.0f, 10.0f);
    EXPECT_EQ(handState, Idle);
    EXPECT_EQ(seeds.selected(), seeds.seeds()[0].get());

    handClick(-20.0f, 10.0f);
    EXPECT_EQ(handState, CarryingSeed);
    Seed* carried = seeds.selected();
    ASSERT_EQ(carried, seeds.seeds()[0].get());

    handMotion(30.0f, 70.0f);
    EXPECT_EQ(carried->x(), 30.0f);
    EXPECT_EQ(carried->y(), 70.0f);
    handMotion(-60.0f, -5.0f);
    EXPECT_EQ(carried->x(), -60.0f);
    EXPECT_EQ(carried->y(), -5.0f);
    EXPECT_EQ(handState, CarryingSeed);
}

TEST_F(HandTest, PlantsOnlyInsideTheDome)
{
    struct Case {
        float x, y;
        bool plants;
    };
    const Case cases[] = {
        {0.0f, 20.0f, true},    // exactly 70 from (0, -50)
        {0.0f, 20.5f, false},
        {48.0f, 0.0f, true},
        {49.0f, 0.0f, false},   // about 70.007
        {-48.0f, 0.0f, true},
    };
    for (const Case& c : cases) {
        resetGarden();
        addStartingSeeds();
        Seed* carried = pickUp(0.0f);
        const Traits seedTraits = carried->getTraits();
        handClick(c.x, c.y);
        SCOPED_TRACE(testing::Message() << "click at (" << c.x << ", " << c.y << ")");

        if (!c.plants) {
            EXPECT_EQ(handState, CarryingSeed);
            EXPECT_EQ(seeds.selected(), carried);
            EXPECT_EQ(seeds.seeds().size(), 3u);
            EXPECT_EQ(growingFlower, nullptr);
            continue;
        }
        EXPECT_EQ(handState, Growing);
        ASSERT_NE(growingFlower, nullptr);
        EXPECT_EQ(growingFlower->stem.segmentCount(), 0);
        EXPECT_EQ(growingFlower->stem.getWidth(), 0.7f);
        EXPECT_EQ(growingFlower->pistilSize(), 0.0f);
        EXPECT_EQ(growingFlower->leafSize(), 0.0f);
        EXPECT_EQ(growingFlower->petalSize(), 0.0f);
        EXPECT_TRUE(traitsMatch(growingFlower->getTraits(), seedTraits));
        EXPECT_EQ(seeds.seeds().size(), 2u);
        EXPECT_FALSE(inSeedList(carried));
        EXPECT_EQ(seeds.selected(), nullptr);
        EXPECT_EQ(seeds.hovered(), nullptr);
        EXPECT_EQ(dragSegment.startX, c.x);
        EXPECT_EQ(dragSegment.startY, c.y);
        EXPECT_EQ(dragSegment.endX, c.x);
        EXPECT_EQ(dragSegment.endY, c.y);
        EXPECT_TRUE(flowers.flowers().empty());
    }
}

TEST_F(HandTest, RecordsOnlyStepsOfAtLeastTheSmallestLength)
{
    pickUp(0.0f);
    handClick(0.0f, 0.0f);
    const Stem& stem = growingFlower->stem;

    handMotion(0.4f, 0.0f);  // 0.16 from the planting point
    EXPECT_EQ(stem.segmentCount(), 0);
    EXPECT_EQ(dragSegment.startX, 0.0f);
    EXPECT_EQ(dragSegment.endX, 0.4f);
    EXPECT_EQ(handState, Growing);

    handMotion(0.45f, 0.0f);  // 0.2025: the first segment, from the planting point
    ASSERT_EQ(stem.segmentCount(), 1);
    const StemSegment& first = stem.allSegments()[0];
    EXPECT_EQ(first.startX, 0.0f);
    EXPECT_EQ(first.startY, 0.0f);
    EXPECT_EQ(first.endX, 0.45f);
    EXPECT_EQ(first.endY, 0.0f);
    EXPECT_EQ(first.dirX, 1.0f);
    EXPECT_EQ(dragSegment.startX, 0.45f);
    EXPECT_EQ(dragSegment.endX, 0.45f);

    handMotion(0.45f, 0.4f);  // too small again, measured from the new start
    EXPECT_EQ(stem.segmentCount(), 1);
    handMotion(0.45f, 0.9f);
    EXPECT_EQ(stem.segmentCount(), 2);
    EXPECT_EQ(stem.tipY(), 0.9f);
    EXPECT_EQ(handState, Growing);
}

TEST_F(HandTest, SizesFollowTheLengthAndTwentyFinishes)
{
    pickUp(0.0f);
    handClick(0.0f, 0.0f);
    Flower* f = growingFlower.get();

    handMotion(0.0f, 10.0f);
    EXPECT_EQ(handState, Growing);
    EXPECT_EQ(f->pistilSize(), 0.5f);
    EXPECT_EQ(f->leafSize(), 0.0f);
    EXPECT_EQ(f->petalSize(), 0.5f);
    EXPECT_FLOAT_EQ(f->stem.getWidth(), 0.6f);

    handMotion(0.0f, 15.0f);
    EXPECT_EQ(handState, Growing);
    EXPECT_FLOAT_EQ(f->leafSize(), 0.5f);
    EXPECT_EQ(finishSounds, 0);

    handMotion(0.0f, 21.0f);  // L = 21
    EXPECT_EQ(handState, Idle);
    EXPECT_EQ(growingFlower, nullptr);
    ASSERT_EQ(flowers.flowers().size(), 1u);
    EXPECT_EQ(flowers.flowers()[0].get(), f);
    EXPECT_EQ(f->stem.segmentCount(), 3);
    EXPECT_FLOAT_EQ(f->pistilSize(), 1.05f);
    EXPECT_FLOAT_EQ(f->petalSize(), 1.05f);
    EXPECT_FLOAT_EQ(f->leafSize(), 1.1f);
    EXPECT_FLOAT_EQ(f->stem.getWidth(), 0.93f);
    EXPECT_EQ(finishSounds, 1);
    expectDragAtZero();

    // Idle motions after the finish play nothing more; the next flower plays once.
    handMotion(0.0f, 30.0f);
    handMotion(0.0f, 50.0f);
    EXPECT_EQ(finishSounds, 1);
    growFlower(20.0f, 10.0f);
    EXPECT_EQ(finishSounds, 2);
    EXPECT_EQ(flowers.flowers().size(), 2u);
}

TEST_F(HandTest, GroundLineFinishesAGrownStemAndDropsAnEmptyOne)
{
    struct Case {
        const char* name;
        bool grewFirst;
    };
    const Case cases[] = {{"with a segment", true}, {"before any segment", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetGarden();
        gardenHooks.playFinishSound = countFinishSound;
        finishSounds = 0;
        addStartingSeeds();
        pickUp(0.0f);
        handClick(0.0f, 0.0f);
        Flower* f = growingFlower.get();
        if (c.grewFirst) {
            handMotion(0.0f, 5.0f);
        }

        handMotion(3.0f, -0.5f);
        EXPECT_EQ(handState, Idle);
        EXPECT_EQ(growingFlower, nullptr);
        expectDragAtZero();
        EXPECT_EQ(seeds.seeds().size(), 2u);  // the planted seed is gone either way
        if (c.grewFirst) {
            ASSERT_EQ(flowers.flowers().size(), 1u);
            EXPECT_EQ(flowers.flowers()[0].get(), f);
            EXPECT_EQ(f->stem.segmentCount(), 1);  // the point below ground is not recorded
            EXPECT_EQ(f->stem.tipY(), 5.0f);
            EXPECT_EQ(finishSounds, 1);
        } else {
            EXPECT_TRUE(flowers.flowers().empty());
            EXPECT_EQ(finishSounds, 0);
        }
    }
}

TEST_F(HandTest, ClicksWhileGrowingChangeNothing)
{
    pickUp(0.0f);
    handClick(0.0f, 0.0f);
    handMotion(0.0f, 5.0f);
    Flower* f = growingFlower.get();

    handClick(20.0f, 10.0f);  // on a seed
    handClick(0.0f, 5.0f);    // on its own tip
    handClick(0.0f, 20.0f);   // inside the dome
    EXPECT_EQ(handState, Growing);
    EXPECT_EQ(growingFlower.get(), f);
    EXPECT_EQ(f->stem.segmentCount(), 1);
    EXPECT_EQ(seeds.seeds().size(), 2u);
    EXPECT_EQ(seeds.selected(), nullptr);
    EXPECT_EQ(dragSegment.startY, 5.0f);
}

TEST_F(HandTest, SecondFlowerClickedBreedsWithTheSelectedOneFirst)
{
    Flower* q = growFlower(-20.0f, -10.0f);  // tip at (-10, 20)
    Flower* f = growFlower(20.0f, 10.0f);    // tip at (10, 20)

    handClick(-10.0f, 20.0f);
    EXPECT_EQ(flowers.selected(), q);
    EXPECT_EQ(seeds.seeds().size(), 1u);

    randomBelow(1);
    std::srand(4242u);
    handClick(10.0f, 20.0f);
    std::srand(4242u);
    const Traits expected = crossbreed(q->getTraits(), f->getTraits());

    EXPECT_EQ(handState, Idle);
    EXPECT_EQ(flowers.selected(), nullptr);
    EXPECT_EQ(flowers.flowers().size(), 2u);
    ASSERT_EQ(seeds.seeds().size(), 2u);
    const Seed& bred = *seeds.seeds()[1];
    EXPECT_EQ(bred.x(), 0.0f);
    EXPECT_EQ(bred.y(), 10.0f);
    EXPECT_TRUE(traitsMatch(bred.getTraits(), expected));
}

TEST_F(HandTest, ClickingTheSelectedFlowerAgainBreedsItWithItself)
{
    Flower* f = growFlower(-20.0f, -10.0f);
    handClick(-10.0f, 20.0f);
    ASSERT_EQ(flowers.selected(), f);
    handClick(-10.0f, 20.0f);

    EXPECT_EQ(flowers.selected(), nullptr);
    ASSERT_EQ(seeds.seeds().size(), 3u);
    EXPECT_TRUE(traitsMatch(seeds.seeds()[2]->getTraits(), f->getTraits()));
}

TEST_F(HandTest, ABredSeedLandsOnTopOfTheSeedAlreadyThere)
{
    growFlower(-20.0f, -10.0f);
    growFlower(20.0f, 10.0f);
    Seed* middle = seeds.seeds()[0].get();  // the starting seed still at (0, 10)
    handClick(-10.0f, 20.0f);
    handClick(10.0f, 20.0f);
    ASSERT_EQ(seeds.seeds().size(), 2u);
    Seed* bred = seeds.seeds()[1].get();
    ASSERT_NE(bred, middle);

    handMotion(0.0f, 10.0f);
    EXPECT_EQ(seeds.hovered(), bred);
    handClick(0.0f, 10.0f);
    EXPECT_EQ(handState, CarryingSeed);
    EXPECT_EQ(seeds.selected(), bred);
}

TEST_F(HandTest, IdleClickOnBareGroundKeepsTheSelectedFlower)
{
    Flower* f = growFlower(-20.0f, -10.0f);
    handClick(-10.0f, 20.0f);
    handMotion(20.0f, 10.0f);  // over a seed
    ASSERT_NE(seeds.selected(), nullptr);

    handClick(-40.0f, 60.0f);
    EXPECT_EQ(handState, Idle);
    EXPECT_EQ(seeds.selected(), nullptr);
    EXPECT_EQ(flowers.selected(), f);
    EXPECT_EQ(flowers.hovered(), nullptr);
    EXPECT_EQ(seeds.seeds().size(), 2u);
}

TEST_F(HandTest, HoverStaysOnTheFlowerWhileThePointerIsOverASeed)
{
    Flower* f = growFlower(-20.0f, 15.0f);  // tip at (15, 20); a seed lies at (20, 10)
    handMotion(15.0f, 20.0f);
    EXPECT_EQ(flowers.hovered(), f);
    EXPECT_EQ(seeds.hovered(), nullptr);

    handMotion(20.0f, 10.0f);
    Seed* under = seeds.hovered();
    ASSERT_NE(under, nullptr);
    EXPECT_EQ(seeds.selected(), under);
    EXPECT_EQ(flowers.hovered(), f);

    handMotion(-40.0f, 60.0f);
    EXPECT_EQ(seeds.hovered(), nullptr);
    EXPECT_EQ(seeds.selected(), nullptr);
    EXPECT_EQ(flowers.hovered(), nullptr);
}

// A restart empties both lists and drops the growing flower under a hand that
// may still be carrying or growing; nothing afterwards may touch what went.
TEST_F(HandTest, RestartWhileCarryingOrGrowingLeavesAnIdleHand)
{
    struct Case {
        const char* name;
        bool grow;
        bool callsResetHand;
    };
    const Case cases[] = {
        {"carrying", false, true},
        {"growing", true, true},
        {"carrying, no resetHand", false, false},
        {"growing, no resetHand", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        resetGarden();
        addStartingSeeds();
        pickUp(0.0f);
        if (c.grow) {
            handClick(0.0f, 0.0f);
            handMotion(0.0f, 5.0f);
            ASSERT_EQ(handState, Growing);
        }

        flowers.clear();
        seeds.clear();
        growingFlower.reset();
        if (c.callsResetHand) {
            resetHand();
            EXPECT_EQ(handState, Idle);
            expectDragAtZero();
        }
        addStartingSeeds();

        handMotion(5.0f, 5.0f);
        handClick(0.0f, 20.0f);
        handMotion(0.0f, 30.0f);
        EXPECT_EQ(handState, Idle);
        EXPECT_EQ(growingFlower, nullptr);
        expectDragAtZero();
        EXPECT_EQ(seeds.seeds().size(), 3u);
        EXPECT_TRUE(flowers.flowers().empty());

        // And the new game plays as usual.
        growFlower(0.0f, 0.0f);
        EXPECT_EQ(flowers.flowers().size(), 1u);
    }
}

TEST_F(HandTest, ResetHandWhileCarryingPutsTheSeedDown)
{
    Seed* carried = pickUp(20.0f);
    resetHand();
    EXPECT_EQ(handState, Idle);
    EXPECT_EQ(seeds.selected(), nullptr);
    EXPECT_TRUE(inSeedList(carried));
}

TEST_F(HandTest, AGameGivesBackEverySeedSpriteItMade)
{
    resetGarden();
    gardenHooks.makeSeedSprite = makeNumberedSprite;
    gardenHooks.releaseSprite = recordRelease;
    addStartingSeeds();

    growFlower(-20.0f, -10.0f);
    EXPECT_EQ(releasedSprites, (std::vector<int>{1}));  // the planted seed's
    growFlower(20.0f, 10.0f);
    handClick(-10.0f, 20.0f);
    handClick(10.0f, 20.0f);
    EXPECT_EQ(madeSprites.size(), 4u);

    pickUp(0.0f);
    handClick(0.0f, 0.0f);
    handMotion(0.0f, -1.0f);  // dropped before it grew
    flowers.clear();
    seeds.clear();
    std::sort(releasedSprites.begin(), releasedSprites.end());
    EXPECT_EQ(releasedSprites, madeSprites);
}
