#include "garden/FlowerList.h"
#include "garden/Seed.h"
#include "garden/SeedList.h"

#include "draw/GameFolder.h"
#include "draw/GlProbe.h"
#include "draw/Sprite.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// Consecutive polygons of one colour that touch, merged: one sprite or one
// stem piece each, with its bounding box in world units.
struct Shape {
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    double left = 1e9;
    double right = -1e9;
    double bottom = 1e9;
    double top = -1e9;
};

bool sameColour(const float* a, const float* b) {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}

std::vector<Shape> shapesOf(const std::vector<FeedbackItem>& items) {
    std::vector<Shape> shapes;
    for (const FeedbackItem& item : items) {
        if (item.token != GL_POLYGON_TOKEN || item.vertices.empty()) {
            continue;
        }
        Shape s;
        std::copy(item.vertices[0].color, item.vertices[0].color + 4, s.color);
        for (const FeedbackVertex& v : item.vertices) {
            s.left = std::min(s.left, v.x);
            s.right = std::max(s.right, v.x);
            s.bottom = std::min(s.bottom, v.y);
            s.top = std::max(s.top, v.y);
        }
        if (!shapes.empty()) {
            Shape& last = shapes.back();
            const bool touches = s.left <= last.right + 1e-3 && last.left <= s.right + 1e-3 &&
                                 s.bottom <= last.top + 1e-3 && last.bottom <= s.top + 1e-3;
            if (touches && sameColour(last.color, s.color)) {
                last.left = std::min(last.left, s.left);
                last.right = std::max(last.right, s.right);
                last.bottom = std::min(last.bottom, s.bottom);
                last.top = std::max(last.top, s.top);
                continue;
            }
        }
        shapes.push_back(s);
    }
    return shapes;
}

// A square of side `size` centred on (x, y) in colour (r, g, b, 1).
void expectSquare(const Shape& s, double x, double y, double size, float r, float g, float b) {
    EXPECT_NEAR(s.left, x - size / 2, 1e-3);
    EXPECT_NEAR(s.right, x + size / 2, 1e-3);
    EXPECT_NEAR(s.bottom, y - size / 2, 1e-3);
    EXPECT_NEAR(s.top, y + size / 2, 1e-3);
    EXPECT_NEAR(s.color[0], r, 1e-6);
    EXPECT_NEAR(s.color[1], g, 1e-6);
    EXPECT_NEAR(s.color[2], b, 1e-6);
    EXPECT_NEAR(s.color[3], 1.0f, 1e-6);
}

void expectSpriteStatesOff() {
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

class GardenDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        viewWorld(-50.0, 50.0, 0.0, 75.0);
        installSpriteHooks();
        SeedList::instance().clear();
        FlowerList::instance().clear();
        SeedList::instance().loadMarkers();
        FlowerList::instance().loadMarkers();
    }
    void TearDown() override {
        SeedList::instance().clear();
        FlowerList::instance().clear();
    }

    InGameFolder inGame;
};

Seed* addSeed(float x, float y) {
    auto seed = std::make_unique<Seed>();
    seed->setX(x);
    seed->setY(y);
    Seed* raw = seed.get();
    SeedList::instance().add(std::move(seed));
    return raw;
}

TEST_F(GardenDrawingTest, SeedsThenTheSelectedThenTheHoveredMarker) {
    SeedList& seeds = SeedList::instance();
    Seed* first = addSeed(-10.0f, 10.0f);
    addSeed(10.0f, 20.0f);
    seeds.setSelected(first);
    ASSERT_NE(seeds.hitTest(10.0f, 20.0f), nullptr);

    const std::vector<Shape> shapes = shapesOf(captureFeedback([&] { seeds.draw(); }));
    ASSERT_EQ(shapes.size(), 4u);
    expectSquare(shapes[0], -10.0, 10.0, 4.0, 0.8f, 0.6f, 0.2f);
    expectSquare(shapes[1], 10.0, 20.0, 4.0, 0.8f, 0.6f, 0.2f);
    expectSquare(shapes[2], -10.0, 10.0, 6.0, 1.0f, 1.0f, 1.0f);
    expectSquare(shapes[3], 10.0, 20.0, 6.0, 1.0f, 1.0f, 1.0f);
    expectSpriteStatesOff();

    // Once the hovered seed is gone, so is its marker.
    seeds.remove(seeds.hovered());
    const std::vector<Shape> after = shapesOf(captureFeedback([&] { seeds.draw(); }));
    ASSERT_EQ(after.size(), 2u);
    expectSquare(after[1], -10.0, 10.0, 6.0, 1.0f, 1.0f, 1.0f);
}

TEST_F(GardenDrawingTest, TheTwoSeedMarkersShowTheSelectorInTexturesOfTheirOwn) {
    SeedList& seeds = SeedList::instance();
    std::vector<GLuint> textures;
    for (int marker : {seeds.selectedMarker(), seeds.hoverMarker(), FlowerList::instance().marker()}) {
        ASSERT_GE(marker, 0);
        glCallList(GLuint(marker));
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        textures.push_back(GLuint(bound));
        const TextureLevel picture = readTexture(GLuint(bound), 0);
        ASSERT_GT(picture.width, 0);
        const unsigned colour = gamePictureColour("selector.png");
        EXPECT_TRUE(near(picture.at(8, 8), Rgba{int(colour >> 16), int((colour >> 8) & 0xff), int(colour & 0xff), 255}, 0));
    }
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_NE(textures[0], textures[1]);
    EXPECT_NE(textures[0], textures[2]);
    EXPECT_NE(textures[1], textures[2]);
}

TEST_F(GardenDrawingTest, AFlowerBothHoveredAndSelectedGetsWhiteThenGreenAtItsTip) {
    // Organs left out: the flower draws its stem only.
    int saved[3][organShapeCount] = {};
    for (int i = 0; i < organShapeCount; ++i) {
        saved[0][i] = leafSprites[i];
        saved[1][i] = petalSprites[i];
        saved[2][i] = pistilSprites[i];
        leafSprites[i] = petalSprites[i] = pistilSprites[i] = -1;
    }
    auto flower = std::make_unique<Flower>();
    StemSegment piece;
    piece.endY = 10.0f;
    piece.measure();
    flower->stem.setWidth(0.9f);
    flower->stem.addSegment(piece);
    flower->setPistilSize(0.5f);
    Flower* raw = flower.get();
    FlowerList& flowers = FlowerList::instance();
    flowers.add(std::move(flower));
    ASSERT_EQ(flowers.hitTest(0.0f, 10.0f), raw);
    flowers.setSelected(raw);

    const std::vector<Shape> shapes = shapesOf(captureFeedback([&] { flowers.draw(); }));
    ASSERT_EQ(shapes.size(), 3u);
    expectSquare(shapes[1], 0.0, 10.0, 7.0, 1.0f, 1.0f, 1.0f);
    expectSquare(shapes[2], 0.0, 10.0, 7.0, 0.0f, 1.0f, 0.0f);
    expectSpriteStatesOff();

    for (int i = 0; i < organShapeCount; ++i) {
        leafSprites[i] = saved[0][i];
        petalSprites[i] = saved[1][i];
        pistilSprites[i] = saved[2][i];
    }
}

}  // namespace
