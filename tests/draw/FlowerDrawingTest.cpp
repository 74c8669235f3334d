#include "garden/Flower.h"

#include "draw/GlProbe.h"
#include "draw/Sprite.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double pi = 3.14159265358979323846;

// Marker values the probe sprites pass through, per organ and shape.
constexpr int leafTag = 10;
constexpr int petalTag = 20;
constexpr int pistilTag = 30;

// What one organ sprite call looked like: its table entry and the frame the
// modelview gave it, read from points at the sprite's origin and x axis.
struct Organ {
    int tag = 0;
    double x = 0.0;        // centre, world units
    double y = 0.0;
    double degrees = 0.0;  // turn of the sprite's x axis
    double scale = 0.0;    // world units per sprite unit
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

struct Drawing {
    int stemPolygons = 0;
    int polygonsAfterOrgans = 0;
    std::vector<Organ> organs;
};

Drawing drawingOf(const Flower& flower) {
    Drawing d;
    const std::vector<FeedbackItem> items = captureFeedback([&] { flower.draw(); });
    for (std::size_t i = 0; i < items.size(); ++i) {
        const FeedbackItem& item = items[i];
        if (item.token == GL_POLYGON_TOKEN) {
            (d.organs.empty() ? d.stemPolygons : d.polygonsAfterOrgans) += 1;
            continue;
        }
        if (item.token != GL_PASS_THROUGH_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << item.token;
            continue;
        }
        if (i + 2 >= items.size() || items[i + 1].token != GL_POINT_TOKEN || items[i + 2].token != GL_POINT_TOKEN) {
            ADD_FAILURE() << "probe points missing";
            break;
        }
        const FeedbackVertex& origin = items[i + 1].vertices[0];
        const FeedbackVertex& axis = items[i + 2].vertices[0];
        Organ o;
        o.tag = int(item.marker);
        o.x = origin.x;
        o.y = origin.y;
        o.degrees = std::atan2(axis.y - origin.y, axis.x - origin.x) * 180.0 / pi;
        o.scale = std::hypot(axis.x - origin.x, axis.y - origin.y);
        for (int c = 0; c < 4; ++c) {
            o.color[c] = origin.color[c];
        }
        d.organs.push_back(o);
        i += 2;
    }
    return d;
}

// Difference of two angles in degrees, folded into -180..180.
double turnBetween(double a, double b) {
    return std::remainder(a - b, 360.0);
}

// The organ an anchor at (ax, ay), a turn and a scale should give, when the
// sprite is moved `standOff` sprite units along its turned y axis.
Organ expected(int tag, double ax, double ay, double degrees, double scale, double standOff) {
    Organ o;
    o.tag = tag;
    const double r = degrees * pi / 180.0;
    o.x = ax - std::sin(r) * standOff * scale;
    o.y = ay + std::cos(r) * standOff * scale;
    o.degrees = degrees;
    o.scale = scale;
    return o;
}

void expectOrgan(const Organ& got, const Organ& want) {
    EXPECT_EQ(got.tag, want.tag);
    EXPECT_NEAR(got.x, want.x, 1e-3);
    EXPECT_NEAR(got.y, want.y, 1e-3);
    EXPECT_NEAR(turnBetween(got.degrees, want.degrees), 0.0, 1e-3) << got.degrees << " vs " << want.degrees;
    EXPECT_NEAR(got.scale, want.scale, 1e-3);
}

Traits probeTraits() {
    Traits t;
    const float pistil[3] = {1.0f, 1.0f, 0.0f};
    const float leaf[3] = {0.25f, 0.5f, 0.0f};
    const float petal[3] = {1.0f, 0.0f, 0.5f};
    for (int c = 0; c < 3; ++c) {
        t.pistilColor[c] = pistil[c];
        t.leafColor[c] = leaf[c];
        t.petalColor[c] = petal[c];
    }
    t.leafShape = 1;
    t.petalShape = 2;
    t.pistilShape = 0;
    return t;
}

class FlowerDrawingTest : public ::testing::Test {
protected:
    // Every organ table entry becomes a probe: a pass-through marker naming
    // the entry, then points at the sprite's origin and at (1, 0).
    void SetUp() override {
        viewWorld(-40.0, 40.0, -30.0, 30.0);
        for (int shape = 0; shape < organShapeCount; ++shape) {
            saved[0][shape] = leafSprites[shape];
            saved[1][shape] = petalSprites[shape];
            saved[2][shape] = pistilSprites[shape];
            leafSprites[shape] = probe(leafTag + shape);
            petalSprites[shape] = probe(petalTag + shape);
            pistilSprites[shape] = probe(pistilTag + shape);
        }
    }
    void TearDown() override {
        for (int shape = 0; shape < organShapeCount; ++shape) {
            releaseSprite(leafSprites[shape]);
            releaseSprite(petalSprites[shape]);
            releaseSprite(pistilSprites[shape]);
            leafSprites[shape] = saved[0][shape];
            petalSprites[shape] = saved[1][shape];
            pistilSprites[shape] = saved[2][shape];
        }
    }

    static int probe(int tag) {
        const int list = int(glGenLists(1));
        glNewList(GLuint(list), GL_COMPILE);
            glPassThrough(GLfloat(tag));
            glBegin(GL_POINTS);
                glVertex2f(0.0f, 0.0f);
                glVertex2f(1.0f, 0.0f);
            glEnd();
        glEndList();
        return list;
    }

    // A flower on one vertical piece from (0, 0) to (0, 10).
    static void plantVertical(Flower& flower, float pistilSize) {
        flower.stem.setWidth(0.6f);
        flower.stem.addSegment(StemSegment::between(0.0f, 0.0f, 0.0f, 10.0f));
        flower.setTraits(probeTraits());
        flower.setPistilSize(pistilSize);
        flower.setLeafSize(1.0f);
        flower.setPetalSize(1.0f);
    }

    int saved[3][organShapeCount] = {};
};

TEST_F(FlowerDrawingTest, TurnsEveryOrganOnAVerticalStem) {
    struct Case {
        float leafSway;
        float bloomSway;
        double firstLeaf;   // degrees
        double secondLeaf;
        double bloomTurn;   // added to the ring and the pistil
    };
    const Case cases[] = {
        {0.0f, 0.0f, 90.0, -80.0, 0.0},
        {float(pi / 2), 0.0f, 100.0, -90.0, 0.0},
        {0.0f, float(pi / 2), 90.0, -80.0, 4.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "sway " << c.leafSway << " " << c.bloomSway);
        Flower flower;
        plantVertical(flower, 0.6f);
        flower.setSway(c.leafSway, c.bloomSway);
        const Drawing d = drawingOf(flower);
        ASSERT_EQ(d.organs.size(), 9u);
        EXPECT_GT(d.stemPolygons, 0);
        EXPECT_EQ(d.polygonsAfterOrgans, 0) << "the stem is drawn first";

        const double leafScale = 1.0 * 5.0 * 0.7;
        expectOrgan(d.organs[0], expected(leafTag + 1, 0.0, 0.0, c.firstLeaf, leafScale, 0.5));
        expectOrgan(d.organs[1], expected(leafTag + 1, 0.0, 0.0, c.secondLeaf, leafScale, 0.5));
        for (int k = 0; k < 6; ++k) {
            SCOPED_TRACE(k);
            const double degrees = 120.0 + 60.0 * k + c.bloomTurn;
            expectOrgan(d.organs[std::size_t(2 + k)], expected(petalTag + 2, 0.0, 10.0, degrees, 4.2, 0.8));
        }
        expectOrgan(d.organs[8], expected(pistilTag + 0, 0.0, 10.0, c.bloomTurn, 0.6 * 7.0 * 0.7, 0.0));
    }
}

TEST_F(FlowerDrawingTest, TintsEachOrganWithItsTraitColour) {
    Flower flower;
    plantVertical(flower, 0.6f);
    const Drawing d = drawingOf(flower);
    ASSERT_EQ(d.organs.size(), 9u);
    const Traits t = probeTraits();
    for (const Organ& o : d.organs) {
        const float* want = o.tag / 10 == 1 ? t.leafColor : o.tag / 10 == 2 ? t.petalColor : t.pistilColor;
        EXPECT_FLOAT_EQ(o.color[0], want[0]) << o.tag;
        EXPECT_FLOAT_EQ(o.color[1], want[1]) << o.tag;
        EXPECT_FLOAT_EQ(o.color[2], want[2]) << o.tag;
        EXPECT_FLOAT_EQ(o.color[3], 1.0f) << o.tag;
    }
}

TEST_F(FlowerDrawingTest, LeavesShowOnlyAboveTheirThresholds) {
    struct Case {
        float pistilSize;
        std::vector<double> leafTurns;  // degrees, in drawing order
    };
    const Case cases[] = {
        {0.4f, {}},
        {0.5f, {}},
        {0.52f, {90.0}},
        // The float nearest 0.54 lies just above 0.54 in double precision.
        {0.54f, {90.0, -80.0}},
        {0.55f, {90.0, -80.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pistilSize);
        Flower flower;
        plantVertical(flower, c.pistilSize);
        const Drawing d = drawingOf(flower);
        std::vector<double> turns;
        for (const Organ& o : d.organs) {
            if (o.tag / 10 == 1) {
                turns.push_back(o.degrees);
            }
        }
        ASSERT_EQ(turns.size(), c.leafTurns.size());
        for (std::size_t i = 0; i < turns.size(); ++i) {
            EXPECT_NEAR(turnBetween(turns[i], c.leafTurns[i]), 0.0, 1e-3);
        }
        EXPECT_EQ(d.organs.size(), c.leafTurns.size() + 7);
    }
}

TEST_F(FlowerDrawingTest, HangsLeavesOnTheirSegmentsAndTheBloomOnTheTip) {
    // Pieces of length 2 (up), 1 (right) and 1 (down): the leaves hang at the
    // starts of the second and the third piece, the bloom follows the last.
    Flower flower;
    flower.stem.setWidth(0.6f);
    flower.stem.addSegment(StemSegment::between(0.0f, 0.0f, 0.0f, 2.0f));
    flower.stem.addPoint(1.0f, 2.0f);
    flower.stem.addPoint(1.0f, 1.0f);
    flower.setTraits(probeTraits());
    flower.setPistilSize(1.0f);
    flower.setLeafSize(1.0f);
    flower.setPetalSize(0.5f);

    const Drawing d = drawingOf(flower);
    ASSERT_EQ(d.organs.size(), 9u);
    expectOrgan(d.organs[0], expected(leafTag + 1, 0.0, 2.0, 0.0, 3.5, 0.5));
    expectOrgan(d.organs[1], expected(leafTag + 1, 1.0, 2.0, -90.0 - 180.0 + 10.0, 3.5, 0.5));
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(k);
        expectOrgan(d.organs[std::size_t(2 + k)],
                    expected(petalTag + 2, 1.0, 1.0, -90.0 + 30.0 + 60.0 * k, 0.5 * 6.0 * 0.7, 0.5 * 0.8));
    }
    expectOrgan(d.organs[8], expected(pistilTag, 1.0, 1.0, 0.0, 4.9, 0.0));
}

TEST_F(FlowerDrawingTest, LeavesTheStatesAndTheMatrixStackAsFound) {
    Flower flower;
    plantVertical(flower, 0.6f);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    flower.draw();
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

TEST_F(FlowerDrawingTest, AFlowerWithoutStemDrawsNothingAndChangesNothing) {
    Flower flower;
    flower.setTraits(probeTraits());
    flower.setPistilSize(1.0f);
    glColor4f(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_TRUE(captureFeedback([&] { flower.draw(); }).empty());
    GLfloat colour[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.1f);
    EXPECT_FLOAT_EQ(colour[3], 0.4f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

}  // namespace
