#include "garden/Stem.h"

#include "draw/GlProbe.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// A stem through the points, in order.
Stem stemThrough(const std::vector<std::pair<float, float>>& points, float width) {
    Stem stem;
    stem.setWidth(width);
    stem.addSegment(StemSegment::between(points[0].first, points[0].second, points[1].first, points[1].second));
    for (std::size_t i = 2; i < points.size(); ++i) {
        stem.addPoint(points[i].first, points[i].second);
    }
    return stem;
}

std::vector<FeedbackItem> polygonsOf(const Stem& stem) {
    std::vector<FeedbackItem> polygons;
    for (const FeedbackItem& item : captureFeedback([&] { stem.draw(); })) {
        EXPECT_EQ(item.token, GLenum(GL_POLYGON_TOKEN));
        polygons.push_back(item);
    }
    return polygons;
}

class StemDrawingTest : public ::testing::Test {
protected:
    void SetUp() override { viewWorld(-40.0, 40.0, -30.0, 30.0); }
};

TEST_F(StemDrawingTest, AStraightPieceIsAGreenStripOfItsWidth) {
    const Stem stem = stemThrough({{0.0f, 0.0f}, {0.0f, 10.0f}}, 1.0f);
    const std::vector<FeedbackItem> polygons = polygonsOf(stem);
    // Corners (0.5, 0), (0.5, 10), (-0.5, 10), (-0.5, 0): counter-clockwise,
    // so the area comes out positive.
    double area = 0.0;
    for (const FeedbackItem& p : polygons) {
        area += signedArea(p);
        for (const FeedbackVertex& v : p.vertices) {
            EXPECT_NEAR(std::abs(v.x), 0.5, 1e-3);
            EXPECT_TRUE(std::abs(v.y) < 1e-3 || std::abs(v.y - 10.0) < 1e-3) << v.y;
            EXPECT_FLOAT_EQ(v.color[0], 0.0f);
            EXPECT_FLOAT_EQ(v.color[1], 1.0f);
            EXPECT_FLOAT_EQ(v.color[2], 0.0f);
            EXPECT_FLOAT_EQ(v.color[3], 1.0f);
        }
    }
    EXPECT_NEAR(area, 10.0, 1e-2);
}

TEST_F(StemDrawingTest, DrawsOnePolygonPerPieceAndOnePerJoint) {
    // Each four-corner polygon comes back from feedback as two triangles.
    struct Case {
        std::vector<std::pair<float, float>> points;
        int polygons;
    };
    const Case cases[] = {
        {{{0.0f, 0.0f}, {0.0f, 10.0f}}, 1},
        {{{0.0f, 0.0f}, {0.0f, 5.0f}, {0.0f, 10.0f}}, 3},
        {{{0.0f, 0.0f}, {0.0f, 4.0f}, {3.0f, 8.0f}, {3.0f, 12.0f}, {-2.0f, 14.0f}}, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.polygons);
        const Stem stem = stemThrough(c.points, 0.8f);
        EXPECT_EQ(int(polygonsOf(stem).size()), 2 * c.polygons);
    }
}

TEST_F(StemDrawingTest, AJointFillsTheGapOnTheOuterSideOfABend) {
    // A right-angle bend at (0, 5), width 1: the joint is a square whose
    // diagonals are the two cross-sections, area 0.5, lying outside both pieces.
    const Stem stem = stemThrough({{0.0f, 0.0f}, {0.0f, 5.0f}, {5.0f, 5.0f}}, 1.0f);
    const std::vector<FeedbackItem> polygons = polygonsOf(stem);
    ASSERT_EQ(polygons.size(), 6u);
    const double joint = std::abs(signedArea(polygons[2])) + std::abs(signedArea(polygons[3]));
    EXPECT_NEAR(joint, 0.5, 1e-3);
    double minX = 1e9;
    double maxY = -1e9;
    for (int k = 2; k < 4; ++k) {
        for (const FeedbackVertex& v : polygons[std::size_t(k)].vertices) {
            minX = std::min(minX, v.x);
            maxY = std::max(maxY, v.y);
        }
    }
    EXPECT_NEAR(minX, -0.5, 1e-3);
    EXPECT_NEAR(maxY, 5.5, 1e-3);
}

TEST_F(StemDrawingTest, AnEmptyStemOnlySetsTheColour) {
    Stem stem;
    stem.setWidth(1.0f);
    glColor4f(0.2f, 0.3f, 0.4f, 0.5f);
    EXPECT_TRUE(captureFeedback([&] { stem.draw(); }).empty());
    GLfloat colour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.0f);
    EXPECT_FLOAT_EQ(colour[1], 1.0f);
    EXPECT_FLOAT_EQ(colour[2], 0.0f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);
}

}  // namespace
