#include "draw/Sprite.h"

#include "draw/GameFolder.h"
#include "draw/GlProbe.h"
#include "draw/PngFixture.h"
#include "draw/PngTexture.h"
#include "garden/Flower.h"
#include "garden/Seed.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

namespace {

void spriteStatesOn() {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
}

void spriteStatesOff() {
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
}

// Draws a sprite the way the game does, centred on (x, y), w x h pixels.
void drawSprite(int sprite, float x, float y, float w, float h, float r, float g, float b) {
    spriteStatesOn();
    glPushMatrix();
        glTranslatef(x, y, 0.0f);
        glColor4f(r, g, b, 1.0f);
        glScalef(w, h, 1.0f);
        glCallList(GLuint(sprite));
    glPopMatrix();
    spriteStatesOff();
}

// The colour a sprite shows in the middle of a 100-pixel square.
Rgba centreOf(int sprite) {
    clearTo(0.0f, 0.0f, 0.0f);
    drawSprite(sprite, 400.0f, 300.0f, 100.0f, 100.0f, 1.0f, 1.0f, 1.0f);
    return pixelAt(400, 300);
}

Rgba opaque(unsigned rgb) {
    return Rgba{int(rgb >> 16), int((rgb >> 8) & 0xff), int(rgb & 0xff), 255};
}

class SpriteTest : public ::testing::Test {
protected:
    void SetUp() override { viewWorld(0.0, 800.0, 0.0, 600.0); }
    std::string folder = makeTempFolder();
};

unsigned quadrants(int x, int y) {
    const bool right = x >= 4;
    const bool top = y < 4;  // file rows count from the top
    if (top) {
        return right ? 0x00ff00ffu : 0xff0000ffu;
    }
    return right ? 0xffff00ffu : 0x0000ffffu;
}

TEST_F(SpriteTest, CoversExactlyItsRectangleWithThePictureUpright) {
    ASSERT_TRUE(writePng(folder + "/q.png", rgbaPicture(8, 8, quadrants)));
    int sprite = -1;
    int texture = -1;
    makeSprite(sprite, texture, (folder + "/q.png").c_str());
    ASSERT_GE(sprite, 0);
    ASSERT_GT(texture, 0);

    clearTo(0.0f, 0.0f, 0.0f);
    drawSprite(sprite, 200.0f, 300.0f, 160.0f, 120.0f, 1.0f, 1.0f, 1.0f);  // x 120..280, y 240..360
    EXPECT_TRUE(near(pixelAt(160, 330), Rgba{255, 0, 0, 255}, 2)) << "top left";
    EXPECT_TRUE(near(pixelAt(240, 330), Rgba{0, 255, 0, 255}, 2)) << "top right";
    EXPECT_TRUE(near(pixelAt(160, 270), Rgba{0, 0, 255, 255}, 2)) << "bottom left";
    EXPECT_TRUE(near(pixelAt(240, 270), Rgba{255, 255, 0, 255}, 2)) << "bottom right";

    const Rgba background{0, 0, 0, 255};
    const int inside[][2] = {{120, 300}, {279, 300}, {200, 240}, {200, 359}};
    const int outside[][2] = {{119, 300}, {280, 300}, {200, 239}, {200, 360}};
    for (const auto& p : inside) {
        EXPECT_FALSE(near(pixelAt(p[0], p[1]), background, 0)) << p[0] << "," << p[1];
    }
    for (const auto& p : outside) {
        EXPECT_TRUE(near(pixelAt(p[0], p[1]), background, 0)) << p[0] << "," << p[1];
    }
    releaseSprite(sprite);
}

TEST_F(SpriteTest, AMissingPictureDrawsAPlainSquareInTheCurrentColour) {
    int sprite = -1;
    int texture = -1;
    makeSprite(sprite, texture, (folder + "/none.png").c_str());
    EXPECT_EQ(texture, 0);
    ASSERT_GE(sprite, 0);

    clearTo(0.0f, 0.0f, 0.0f);
    drawSprite(sprite, 200.0f, 300.0f, 160.0f, 120.0f, 0.8f, 0.6f, 0.2f);
    const Rgba tint{204, 153, 51, 255};
    for (const auto& p : {std::pair{120, 240}, std::pair{279, 359}, std::pair{200, 300}}) {
        EXPECT_TRUE(near(pixelAt(p.first, p.second), tint, 1)) << p.first << "," << p.second;
    }
    EXPECT_TRUE(near(pixelAt(119, 300), Rgba{0, 0, 0, 255}, 0));
    EXPECT_TRUE(near(pixelAt(280, 300), Rgba{0, 0, 0, 255}, 0));
    releaseSprite(sprite);
}

unsigned leftHalfClear(int x, int) {
    // The clear texels carry a loud colour so that a leak of it shows.
    return x < 4 ? 0xff000000u : 0xffffffffu;
}

TEST_F(SpriteTest, ClearTexelsLeaveThePixelAndDepthBelow) {
    ASSERT_TRUE(writePng(folder + "/half.png", rgbaPicture(8, 8, leftHalfClear)));
    int sprite = -1;
    int texture = -1;
    makeSprite(sprite, texture, (folder + "/half.png").c_str());

    clearTo(0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    drawSprite(sprite, 400.0f, 300.0f, 160.0f, 160.0f, 1.0f, 0.5f, 0.25f);  // x 320..480
    glDisable(GL_DEPTH_TEST);

    EXPECT_TRUE(near(pixelAt(350, 300), Rgba{0, 0, 255, 255}, 0)) << "clear texel";
    EXPECT_TRUE(near(pixelAt(450, 300), Rgba{255, 128, 64, 255}, 1)) << "opaque texel times colour";
    float depth[2] = {0.0f, 0.0f};
    glReadPixels(350, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth[0]);
    glReadPixels(450, 300, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth[1]);
    EXPECT_FLOAT_EQ(depth[0], 1.0f);
    EXPECT_NEAR(depth[1], 0.5f, 1e-3);
    releaseSprite(sprite);
}

TEST_F(SpriteTest, AMadeSpriteIsLeftAloneAndReadsNoFile) {
    ASSERT_TRUE(writePng(folder + "/red.png", solidPicture(4, 4, 0xff0000ffu)));
    for (int made : {0, 7}) {
        SCOPED_TRACE(made);
        int sprite = made;
        int texture = -1;
        const int lists = liveLists();
        const int textures = liveTextures();
        makeSprite(sprite, texture, (folder + "/red.png").c_str());
        EXPECT_EQ(sprite, made);
        EXPECT_EQ(texture, -1);
        EXPECT_EQ(liveLists(), lists);
        EXPECT_EQ(liveTextures(), textures);
    }
}

TEST_F(SpriteTest, AGivenTextureIsUsedAndNoFileIsRead) {
    ASSERT_TRUE(writePng(folder + "/red.png", solidPicture(4, 4, 0xff0000ffu)));
    ASSERT_TRUE(writePng(folder + "/blue.png", solidPicture(4, 4, 0x0000ffffu)));
    const int blue = int(pngBind((folder + "/blue.png").c_str(), GL_CLAMP, GL_LINEAR, GL_LINEAR));
    ASSERT_GT(blue, 0);

    struct Case {
        int texture;
        Rgba shown;  // drawn in white over black
    };
    for (const Case& c : {Case{blue, Rgba{0, 0, 255, 255}}, Case{0, Rgba{255, 255, 255, 255}}}) {
        SCOPED_TRACE(c.texture);
        int sprite = -1;
        int texture = c.texture;
        const int textures = liveTextures();
        makeSprite(sprite, texture, (folder + "/red.png").c_str());
        EXPECT_EQ(texture, c.texture);
        EXPECT_EQ(liveTextures(), textures);
        EXPECT_TRUE(near(centreOf(sprite), c.shown, 1));
        // Releasing the sprite keeps a texture it was handed.
        releaseSprite(sprite);
        EXPECT_EQ(sprite, -1);
    }
    EXPECT_TRUE(glIsTexture(GLuint(blue)));
    const GLuint name = GLuint(blue);
    glDeleteTextures(1, &name);
}

TEST_F(SpriteTest, ReleaseFreesTheListAndTheTextureMadeForIt) {
    ASSERT_TRUE(writePng(folder + "/red.png", solidPicture(4, 4, 0xff0000ffu)));
    int sprite = -1;
    int texture = -1;
    makeSprite(sprite, texture, (folder + "/red.png").c_str());
    const int list = sprite;
    ASSERT_TRUE(glIsList(GLuint(list)));
    ASSERT_TRUE(glIsTexture(GLuint(texture)));

    releaseSprite(sprite);
    EXPECT_EQ(sprite, -1);
    EXPECT_FALSE(glIsList(GLuint(list)));
    EXPECT_FALSE(glIsTexture(GLuint(texture)));

    const int lists = liveLists();
    releaseSprite(sprite);  // -1: nothing to do
    EXPECT_EQ(liveLists(), lists);
}

// The texture a sprite's list binds, seen by calling it.
GLuint textureOf(int sprite) {
    glCallList(GLuint(sprite));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, 0);
    return GLuint(bound);
}

TEST_F(SpriteTest, OrganTablesAreRemadeFromTheirFilesWithoutGrowing) {
    InGameFolder inGame;
    remakeOrganSprites();
    const int lists = liveLists();
    const int textures = liveTextures();
    const int before[3] = {pistilSprites[0], leafSprites[1], petalSprites[2]};

    remakeOrganSprites();
    EXPECT_EQ(liveLists(), lists);
    EXPECT_EQ(liveTextures(), textures);
    EXPECT_FALSE(glIsList(GLuint(before[0])));
    EXPECT_FALSE(glIsList(GLuint(before[1])));
    EXPECT_FALSE(glIsList(GLuint(before[2])));

    struct Entry {
        int sprite;
        const char* file;
    };
    const Entry entries[] = {
        {pistilSprites[0], "pistil.png"}, {pistilSprites[1], "pistil2.png"}, {pistilSprites[2], "pistil3.png"},
        {leafSprites[0], "leaf.png"},     {leafSprites[1], "leaf2.png"},     {leafSprites[2], "leaf3.png"},
        {petalSprites[0], "petal.png"},   {petalSprites[1], "petal2.png"},   {petalSprites[2], "petal3.png"},
    };
    std::set<GLuint> distinct;
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.file);
        ASSERT_GE(e.sprite, 0);
        EXPECT_TRUE(near(centreOf(e.sprite), opaque(gamePictureColour(e.file)), 2));
        distinct.insert(textureOf(e.sprite));
    }
    EXPECT_EQ(distinct.size(), 9u);
}

TEST_F(SpriteTest, HooksGiveEachSeedItsOwnPictureAndFreeIt) {
    InGameFolder inGame;
    installSpriteHooks();
    auto first = std::make_unique<Seed>();
    auto second = std::make_unique<Seed>();
    ASSERT_GE(first->sprite(), 0);
    ASSERT_GE(second->sprite(), 0);
    EXPECT_NE(textureOf(first->sprite()), textureOf(second->sprite()));
    EXPECT_TRUE(near(centreOf(first->sprite()), opaque(gamePictureColour("seed.png")), 2));

    const int list = first->sprite();
    const GLuint texture = textureOf(list);
    first.reset();
    EXPECT_FALSE(glIsList(GLuint(list)));
    EXPECT_FALSE(glIsTexture(texture));

    // A planting's reset refills the organ tables through the hook.
    const int oldPistil = pistilSprites[0];
    Flower planted;
    planted.reset();
    EXPECT_NE(pistilSprites[0], oldPistil);
    EXPECT_FALSE(glIsList(GLuint(oldPistil)));
}

}  // namespace
