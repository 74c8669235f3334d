#include "garden/GoalFlower.h"
#include "garden/Random.h"
#include "garden/Traits.h"

#include "GardenFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

// The one group in which child and parent differ, or -1 when it is not exactly one.
int onlyDifferingGroup(const Traits& child, const Traits& parent)
{
    int found = -1;
    for (int g = 0; g < TraitGroupCount; ++g) {
        if (!sameInGroup(child, parent, g)) {
            if (found != -1) {
                return -1;
            }
            found = g;
        }
    }
    return found;
}

// A seeded sequence of our own, once randomBelow's first-call seeding is behind us.
void seedWith(unsigned seed)
{
    randomBelow(1);
    std::srand(seed);
}

}  // namespace

TEST(TraitsMatch, EveryValueCountsDownToTheLastBit)
{
    const Traits base = startingTraits(1);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    auto nudge = [](float& v) { v = std::nextafter(v, 2.0f); };

    struct Case {
        std::string name;
        std::function<void(Traits&, Traits&)> change;
        bool match;
    };
    const std::vector<Case> cases = {
        {"identical", [](Traits&, Traits&) {}, true},
        {"pistil red", [&](Traits&, Traits& b) { nudge(b.pistilColor[0]); }, false},
        {"pistil blue", [&](Traits&, Traits& b) { nudge(b.pistilColor[2]); }, false},
        {"leaf green", [&](Traits&, Traits& b) { nudge(b.leafColor[1]); }, false},
        {"leaf blue", [&](Traits&, Traits& b) { nudge(b.leafColor[2]); }, false},
        {"petal red", [&](Traits&, Traits& b) { nudge(b.petalColor[0]); }, false},
        {"petal blue", [&](Traits&, Traits& b) { nudge(b.petalColor[2]); }, false},
        {"petal shape", [](Traits&, Traits& b) { b.petalShape = 2; }, false},
        {"leaf shape", [](Traits&, Traits& b) { b.leafShape = 2; }, false},
        {"pistil shape", [](Traits&, Traits& b) { b.pistilShape = 2; }, false},
        {"NaN on both sides", [&](Traits& a, Traits& b) { a.leafColor[0] = b.leafColor[0] = nan; }, false},
        {"+0 against -0", [](Traits& a, Traits& b) { a.pistilColor[2] = 0.0f; b.pistilColor[2] = -0.0f; }, true},
    };
    for (const Case& c : cases) {
        Traits a = base;
        Traits b = base;
        c.change(a, b);
        EXPECT_EQ(traitsMatch(a, b), c.match) << c.name;
        EXPECT_EQ(traitsMatch(b, a), c.match) << c.name << " (swapped)";
    }
}

TEST(Crossbreed, EqualParentsGiveTheFirstAndDrawNothing)
{
    const bool seededBefore = randomSeeded();
    const std::vector<std::pair<Traits, Traits>> pairs = {
        {startingTraits(0), startingTraits(0)},
        {goalTraits(), goalTraits()},
        {Traits(), Traits()},
    };
    for (const auto& parents : pairs) {
        std::srand(7u);
        const int untouched = std::rand();
        std::srand(7u);
        const Traits child = crossbreed(parents.first, parents.second);
        EXPECT_TRUE(traitsMatch(child, parents.first));
        EXPECT_EQ(std::rand(), untouched);
    }
    EXPECT_EQ(randomSeeded(), seededBefore);
}

TEST(Crossbreed, ParentsDifferingInOneGroupGiveTheSecond)
{
    const Traits first = startingTraits(0);
    const Traits other = startingTraits(2);
    const std::vector<std::function<void(Traits&)>> takeOneGroup = {
        [&](Traits& t) { std::copy(other.leafColor, other.leafColor + 3, t.leafColor); },
        [&](Traits& t) { std::copy(other.petalColor, other.petalColor + 3, t.petalColor); },
        [&](Traits& t) { std::copy(other.pistilColor, other.pistilColor + 3, t.pistilColor); },
        [&](Traits& t) { t.leafShape = other.leafShape; },
        [&](Traits& t) { t.pistilShape = other.pistilShape; },
        [&](Traits& t) { t.petalShape = other.petalShape; },
    };
    for (int g = 0; g < TraitGroupCount; ++g) {
        Traits second = first;
        takeOneGroup[g](second);
        ASSERT_EQ(onlyDifferingGroup(second, first), g);
        for (unsigned seed = 1; seed <= 20; ++seed) {
            seedWith(seed);
            EXPECT_TRUE(traitsMatch(crossbreed(first, second), second)) << "group " << g;
        }
    }
}

// The draw is rand() % 6, repeated until it names a group in which the
// parents differ; the numbers name the groups in their fixed order.
TEST(Crossbreed, TakesTheFirstDrawnDifferingGroupAndSpreadsEvenly)
{
    const Traits seedA = startingTraits(0);
    const Traits seedB = startingTraits(1);
    Traits twoApart = seedA;  // differs from seedA in petal colour and leaf shape
    std::copy(seedB.petalColor, seedB.petalColor + 3, twoApart.petalColor);
    twoApart.leafShape = seedB.leafShape;

    struct Case {
        const char* name;
        Traits second;
        std::vector<int> differing;
    };
    const std::vector<Case> cases = {
        {"two groups", twoApart, {PetalColorGroup, LeafShapeGroup}},
        {"all six groups", seedB, {0, 1, 2, 3, 4, 5}},
    };
    const int trials = 600;
    for (const Case& c : cases) {
        std::vector<int> counts(TraitGroupCount, 0);
        for (int trial = 0; trial < trials; ++trial) {
            const unsigned seed = 1000u + static_cast<unsigned>(trial);
            std::srand(seed);
            int expected = -1;
            int drawsUsed = 0;
            while (expected == -1) {
                const int g = std::rand() % 6;
                ++drawsUsed;
                for (int d : c.differing) {
                    if (d == g) {
                        expected = g;
                    }
                }
            }
            const int following = std::rand();

            seedWith(seed);
            const Traits child = crossbreed(seedA, c.second);
            const int changed = onlyDifferingGroup(child, seedA);
            ASSERT_EQ(changed, expected) << c.name << ", seed " << seed;
            EXPECT_TRUE(sameInGroup(child, c.second, changed));
            EXPECT_EQ(std::rand(), following) << c.name << ": " << drawsUsed << " draws expected";
            ++counts[changed];
        }
        const double share = static_cast<double>(trials) / c.differing.size();
        for (int g : c.differing) {
            EXPECT_GT(counts[g], share * 0.75) << c.name << ", group " << g;
            EXPECT_LT(counts[g], share * 1.25) << c.name << ", group " << g;
        }
    }
}

TEST(StartingSeeds, EachHoldsTwoGoalGroupsAndNoneIsTheGoal)
{
    const Traits target = goalTraits();
    std::vector<int> holders(TraitGroupCount, 0);
    for (int i = 0; i < startingSeedCount; ++i) {
        const Traits t = startingTraits(i);
        EXPECT_FALSE(traitsMatch(t, target)) << "seed " << i;
        int held = 0;
        for (int g = 0; g < TraitGroupCount; ++g) {
            if (sameInGroup(t, target, g)) {
                ++held;
                ++holders[g];
            }
        }
        EXPECT_EQ(held, 2) << "seed " << i;
    }
    for (int g = 0; g < TraitGroupCount; ++g) {
        EXPECT_EQ(holders[g], 1) << "group " << g;
    }
}
