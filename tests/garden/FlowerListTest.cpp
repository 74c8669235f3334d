#include "garden/FlowerList.h"
#include "garden/GoalFlower.h"

#include "GardenFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

class FlowerListTest : public GardenTest {
protected:
    FlowerList& list = FlowerList::instance();

    Flower* addFlower(float baseX, float baseY, float tipX, float tipY, float pistil = 1.0f)
    {
        std::unique_ptr<Flower> f = makeFlower(baseX, baseY, tipX, tipY, pistil);
        Flower* raw = f.get();
        list.add(std::move(f));
        return raw;
    }

    std::vector<const Flower*> inOrder() const
    {
        std::vector<const Flower*> out;
        for (const auto& f : list.flowers()) {
            out.push_back(f.get());
        }
        return out;
    }
};

TEST_F(FlowerListTest, HitTestReachesThreeAndAHalfPistilSizes)
{
    Flower* big = addFlower(0.0f, 0.0f, 0.0f, 20.0f, 1.0f);
    Flower* bare = addFlower(30.0f, 0.0f, 30.0f, 20.0f, 0.0f);
    struct Case {
        float x, y;
        Flower* expected;
    };
    const Case cases[] = {
        {3.5f, 20.0f, big},
        {0.0f, 16.5f, big},
        {3.6f, 20.0f, nullptr},
        {30.0f, 20.0f, bare},  // no pistil: only its tip itself
        {30.01f, 20.0f, nullptr},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.hitTest(c.x, c.y), c.expected) << "(" << c.x << ", " << c.y << ")";
        EXPECT_EQ(list.hovered(), c.expected);
    }
}

TEST_F(FlowerListTest, NearestBloomWinsAndTiesKeepTheEarlier)
{
    Flower* left = addFlower(-2.0f, 0.0f, -2.0f, 20.0f);
    Flower* right = addFlower(2.0f, 0.0f, 2.0f, 20.0f);
    EXPECT_EQ(list.hitTest(0.0f, 20.0f), left);   // equally far
    EXPECT_EQ(list.hitTest(0.5f, 20.0f), right);  // nearer, though later

    // Squared distances from (0, 0) that differ only beyond float precision
    // count as a tie, whichever of the two is nearer in double.
    const float justBelow3 = std::nextafter(3.0f, 0.0f);
    struct Tip {
        float x, y;
    };
    const Tip pairs[][2] = {
        {{3.0f, 0.0001f}, {3.0f, 0.0f}},           // 9 + 1e-8, then 9
        {{3.0f, 0.0f}, {justBelow3, 0.00115f}},    // 9, then 9 - 1.1e-7
    };
    for (const auto& tips : pairs) {
        const double d0 = static_cast<double>(tips[0].x) * tips[0].x + static_cast<double>(tips[0].y) * tips[0].y;
        const double d1 = static_cast<double>(tips[1].x) * tips[1].x + static_cast<double>(tips[1].y) * tips[1].y;
        ASSERT_NE(d0, d1);
        ASSERT_EQ(static_cast<float>(d0), static_cast<float>(d1));
        list.clear();
        Flower* earlier = addFlower(tips[0].x, -10.0f, tips[0].x, tips[0].y);
        addFlower(tips[1].x, -10.0f, tips[1].x, tips[1].y);
        EXPECT_EQ(list.hitTest(0.0f, 0.0f), earlier) << "d " << d0 << " then " << d1;
    }
}

TEST_F(FlowerListTest, SortIsByBaseHigherFirstAndStable)
{
    Flower* at5 = addFlower(0.0f, 5.0f, 0.0f, 25.0f);
    Flower* at10 = addFlower(1.0f, 10.0f, 1.0f, 30.0f);
    Flower* at7 = addFlower(2.0f, 7.0f, 2.0f, 27.0f);
    EXPECT_EQ(inOrder(), (std::vector<const Flower*>{at10, at7, at5}));
    Flower* another7 = addFlower(3.0f, 7.0f, 3.0f, 27.0f);
    EXPECT_EQ(inOrder(), (std::vector<const Flower*>{at10, at7, another7, at5}));
    Flower* lowest = addFlower(4.0f, 1.0f, 4.0f, 21.0f);
    EXPECT_EQ(inOrder(), (std::vector<const Flower*>{at10, at7, another7, at5, lowest}));
}

TEST_F(FlowerListTest, ClearEmptiesTheListAndBothSlots)
{
    list.clear();
    EXPECT_TRUE(list.flowers().empty());
    EXPECT_EQ(list.selected(), nullptr);
    EXPECT_EQ(list.hovered(), nullptr);

    Flower* f = addFlower(0.0f, 0.0f, 0.0f, 20.0f);
    list.setSelected(f);
    list.hitTest(0.0f, 20.0f);
    ASSERT_EQ(list.hovered(), f);
    list.clear();
    EXPECT_TRUE(list.flowers().empty());
    EXPECT_EQ(list.selected(), nullptr);
    EXPECT_EQ(list.hovered(), nullptr);
}

TEST_F(FlowerListTest, AnyMatchesLooksForTheRecordInEveryFlower)
{
    const Traits target = goalTraits();
    EXPECT_FALSE(list.anyMatches(target));
    addFlower(0.0f, 0.0f, 0.0f, 20.0f)->setTraits(startingTraits(0));
    addFlower(5.0f, 0.0f, 5.0f, 20.0f)->setTraits(startingTraits(1));
    EXPECT_FALSE(list.anyMatches(target));
    addFlower(10.0f, 0.0f, 10.0f, 20.0f)->setTraits(target);
    EXPECT_TRUE(list.anyMatches(target));
    EXPECT_TRUE(list.anyMatches(startingTraits(0)));
}

TEST_F(FlowerListTest, UpdateSwayMovesEveryFlower)
{
    addFlower(0.0f, 0.0f, 0.0f, 20.0f);
    addFlower(5.0f, 3.0f, 5.0f, 20.0f);
    list.updateSway(0.5f);
    for (const auto& f : list.flowers()) {
        EXPECT_FLOAT_EQ(f->leafSway(), 0.75f);
        EXPECT_FLOAT_EQ(f->bloomSway(), 0.45f);
    }
}
