#include "garden/GoalFlower.h"

#include "draw/GameFolder.h"
#include "draw/GlProbe.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

namespace {

class GoalIconTest : public ::testing::Test {
protected:
    // The garden as the game shows it: x -50..50, y 0..75, 8 pixels a unit.
    void SetUp() override { viewWorld(-50.0, 50.0, 0.0, 75.0); }
    InGameFolder inGame;
};

TEST_F(GoalIconTest, SetUpGivesTheGoalItsTraitsAndPicture) {
    setUpGoal();
    EXPECT_TRUE(traitsMatch(goal.getTraits(), goalTraits()));
    ASSERT_GE(goal.icon(), 0);

    clearTo(0.0f, 0.0f, 0.0f);
    goal.drawIcon();
    // x 24..50 and y 47..73 are the pixels 592..799 and 376..583.
    const unsigned colour = gamePictureColour("target5.png");
    const Rgba picture{int(colour >> 16), int((colour >> 8) & 0xff), int(colour & 0xff), 255};
    const Rgba black{0, 0, 0, 255};
    EXPECT_TRUE(near(pixelAt(696, 480), picture, 2));
    EXPECT_TRUE(near(pixelAt(600, 384), picture, 2));
    EXPECT_TRUE(near(pixelAt(790, 575), picture, 2));
    EXPECT_FALSE(near(pixelAt(592, 480), black, 0));
    EXPECT_FALSE(near(pixelAt(696, 583), black, 0));
    EXPECT_TRUE(near(pixelAt(591, 480), black, 0));
    EXPECT_TRUE(near(pixelAt(696, 375), black, 0));
    EXPECT_TRUE(near(pixelAt(696, 584), black, 0));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_ALPHA_TEST));
}

TEST_F(GoalIconTest, LoadingAgainReplacesTheOldPicture) {
    goal.loadIcon("./images/target5.png");
    const int old = goal.icon();
    const int textures = liveTextures();
    goal.loadIcon("./images/target5.png");
    EXPECT_NE(goal.icon(), old);
    EXPECT_FALSE(glIsList(GLuint(old)));
    EXPECT_EQ(liveTextures(), textures);
}

}  // namespace
