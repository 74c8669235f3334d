#pragma once

#include "garden/Flower.h"
#include "garden/FlowerList.h"
#include "garden/GardenHooks.h"
#include "garden/GoalFlower.h"
#include "garden/Hand.h"
#include "garden/Seed.h"
#include "garden/SeedList.h"

#include <gtest/gtest.h>

#include <memory>

// The garden is process-wide: every case starts and ends with empty lists, an
// idle hand and no hooks.
class GardenTest : public ::testing::Test {
protected:
    void SetUp() override { resetGarden(); }
    void TearDown() override { resetGarden(); }

    static void resetGarden()
    {
        gardenHooks = GardenHooks();
        FlowerList::instance().clear();
        SeedList::instance().clear();
        resetHand();
    }
};

// A finished flower with a one-segment stem from (baseX, baseY) to (tipX, tipY).
inline std::unique_ptr<Flower> makeFlower(float baseX, float baseY, float tipX, float tipY,
                                          float pistilSize = 1.0f)
{
    std::unique_ptr<Flower> flower(new Flower);
    flower->stem.addSegment(StemSegment::between(baseX, baseY, tipX, tipY));
    flower->setPistilSize(pistilSize);
    return flower;
}

inline std::unique_ptr<Seed> makeSeed(float x, float y, const Traits& traits = Traits())
{
    std::unique_ptr<Seed> seed(new Seed);
    seed->setTraits(traits);
    seed->setX(x);
    seed->setY(y);
    return seed;
}

// Starting seed 0, 1 or 2 of a new game.
inline Traits startingTraits(int i)
{
    return startingSeeds()[i].traits;
}
