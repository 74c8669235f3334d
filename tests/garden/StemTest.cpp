#include "garden/Stem.h"
#include "garden/StemSegment.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A straight stem up the y axis with the given segment lengths.
Stem stemOfLengths(const std::vector<float>& lengths)
{
    Stem stem;
    float y = 0.0f;
    for (float l : lengths) {
        stem.addSegment(StemSegment::between(0.0f, y, 0.0f, y + l));
        y += l;
    }
    return stem;
}

}  // namespace

TEST(StemSegment, MeasureGivesLengthAndUnitDirection)
{
    struct Case {
        float sx, sy, ex, ey;
        float length, dirX, dirY;
    };
    const Case cases[] = {
        {1.0f, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f, -1.0f},   // both ends in one place
        {1.0f, 1.0f, 1.0f, 3.0f, 2.0f, 0.0f, 1.0f},    // straight up
        {1.0f, 3.0f, 1.0f, 1.0f, 2.0f, 0.0f, -1.0f},   // straight down
        {0.0f, 0.0f, 3.0f, 4.0f, 5.0f, 0.6f, 0.8f},
        {2.0f, 5.0f, -1.0f, 1.0f, 5.0f, -0.6f, -0.8f},
        {0.0f, 0.0f, -2.0f, 0.0f, 2.0f, -1.0f, 0.0f},
    };
    for (const Case& c : cases) {
        const StemSegment s = StemSegment::between(c.sx, c.sy, c.ex, c.ey);
        SCOPED_TRACE(testing::Message() << "(" << c.sx << "," << c.sy << ")-(" << c.ex << "," << c.ey << ")");
        EXPECT_EQ(s.length, c.length);
        EXPECT_FLOAT_EQ(s.dirX, c.dirX);
        EXPECT_FLOAT_EQ(s.dirY, c.dirY);
    }
}

TEST(Stem, NewStemIsEmpty)
{
    Stem stem;
    EXPECT_EQ(stem.segmentCount(), 0);
    EXPECT_EQ(stem.getTotalLength(), 0.0f);
}

TEST(Stem, AddPointContinuesFromTheTipAndCountsItsLengthOnce)
{
    Stem stem;
    stem.addSegment(StemSegment::between(2.0f, 1.0f, 2.0f, 4.0f));
    EXPECT_EQ(stem.getTotalLength(), 3.0f);
    stem.addPoint(5.0f, 8.0f);
    stem.addPoint(5.3f, 8.7f);

    ASSERT_EQ(stem.segmentCount(), 3);
    const std::vector<StemSegment>& segs = stem.allSegments();
    EXPECT_EQ(segs[1].startX, 2.0f);
    EXPECT_EQ(segs[1].startY, 4.0f);
    EXPECT_EQ(segs[1].length, 5.0f);
    EXPECT_EQ(segs[2].startX, 5.0f);
    EXPECT_EQ(segs[2].startY, 8.0f);

    const float added = stem.getTotalLength();
    stem.recomputeLength();
    EXPECT_EQ(stem.getTotalLength(), added);
    EXPECT_EQ(added, (3.0f + 5.0f) + segs[2].length);

    EXPECT_EQ(stem.baseY(), 1.0f);
    EXPECT_EQ(stem.tipX(), 5.3f);
    EXPECT_EQ(stem.tipY(), 8.7f);
}

TEST(Stem, SegmentAtFindsTheFirstStartAtOrBeyondTheFraction)
{
    const Stem stem = stemOfLengths({2.0f, 1.0f, 1.0f});  // starts at shares 0, 0.5, 0.75
    ASSERT_EQ(stem.getTotalLength(), 4.0f);
    struct Case {
        float fraction;
        int index;
    };
    const Case cases[] = {
        {-1.0f, 0}, {0.0f, 0}, {0.3f, 1}, {0.5f, 1}, {0.54f, 2}, {0.75f, 2},
        {0.76f, 2},  // no start reaches it: the last segment
        {1.0f, 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(&stem.segmentAt(c.fraction), &stem.allSegments()[c.index]) << "f = " << c.fraction;
    }
}

TEST(Stem, ClearEmptiesButKeepsTheWidth)
{
    Stem stem = stemOfLengths({2.0f, 3.0f});
    stem.setWidth(0.9f);
    stem.clear();
    EXPECT_EQ(stem.segmentCount(), 0);
    EXPECT_EQ(stem.getTotalLength(), 0.0f);
    EXPECT_EQ(stem.getWidth(), 0.9f);
}
