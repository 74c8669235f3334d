#include "garden/Flower.h"
#include "garden/GardenHooks.h"

#include "GardenFixture.h"

#include <gtest/gtest.h>

namespace {

int remakes = 0;
int segmentsAtRemake = -1;
const Flower* watched = nullptr;

void countRemake()
{
    ++remakes;
    segmentsAtRemake = watched ? watched->stem.segmentCount() : -1;
}

void expectDefaults(const Flower& f)
{
    Traits expected;
    expected.pistilColor[0] = expected.pistilColor[1] = expected.pistilColor[2] = 1.0f;
    expected.leafColor[1] = 1.0f;
    expected.petalColor[0] = expected.petalColor[1] = expected.petalColor[2] = 1.0f;
    EXPECT_TRUE(traitsMatch(f.getTraits(), expected));
    EXPECT_EQ(f.stem.segmentCount(), 0);
    EXPECT_EQ(f.stem.getTotalLength(), 0.0f);
    EXPECT_EQ(f.pistilSize(), 0.0f);
    EXPECT_EQ(f.leafSize(), 0.0f);
    EXPECT_EQ(f.petalSize(), 0.0f);
}

}  // namespace

class FlowerTest : public GardenTest {
protected:
    void SetUp() override
    {
        GardenTest::SetUp();
        remakes = 0;
        segmentsAtRemake = -1;
        watched = nullptr;
        gardenHooks.remakeOrganSprites = countRemake;
    }
};

TEST_F(FlowerTest, NewFlowerAfterResetHasDefaultsAndStillPhases)
{
    Flower f;
    f.reset();
    expectDefaults(f);
    EXPECT_EQ(f.leafSway(), 0.0f);
    EXPECT_EQ(f.bloomSway(), 0.0f);
    EXPECT_EQ(remakes, 1);
}

TEST_F(FlowerTest, ResetRemakesSpritesFirstAndKeepsWidthAndSway)
{
    std::unique_ptr<Flower> f = makeFlower(0.0f, 0.0f, 0.0f, 10.0f, 0.5f);
    f->stem.setWidth(0.6f);
    f->setTraits(startingTraits(2));
    f->setLeafSize(0.3f);
    f->setPetalSize(0.5f);
    f->setSway(1.25f, 2.5f);
    watched = f.get();

    f->reset();
    EXPECT_EQ(segmentsAtRemake, 1);  // the sprites come before the stem is emptied
    expectDefaults(*f);
    EXPECT_EQ(f->stem.getWidth(), 0.6f);
    EXPECT_EQ(f->leafSway(), 1.25f);
    EXPECT_EQ(f->bloomSway(), 2.5f);

    f->reset();
    expectDefaults(*f);
    EXPECT_EQ(remakes, 2);
}

TEST(FlowerSway, AdvancesByRateAndWrapsOncePastAFullTurn)
{
    struct Case {
        float leaf, bloom, step;
        double leafAfter, bloomAfter;
    };
    const double tau = 6.283185307179586;
    const Case cases[] = {
        {1.0f, 2.0f, 0.0f, 1.0, 2.0},
        {0.0f, 0.0f, 0.12f * 1.5f, 0.27, 0.162},
        {6.0f, 6.0f, 0.2f, 6.3 - tau, 6.18},
        {6.0f, 6.2f, 0.72f, 7.08 - tau, 6.848 - tau},
    };
    for (const Case& c : cases) {
        Flower f;
        f.setSway(c.leaf, c.bloom);
        f.advanceSway(c.step);
        EXPECT_NEAR(f.leafSway(), c.leafAfter, 1e-6) << "leaf from " << c.leaf << " by " << c.step;
        EXPECT_NEAR(f.bloomSway(), c.bloomAfter, 1e-6) << "bloom from " << c.bloom << " by " << c.step;
    }
}
