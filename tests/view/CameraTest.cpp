#include "view/Camera.h"

#include <gtest/gtest.h>

TEST(CameraSize, KeepsOnlyPositiveSizes) {
    Camera camera;
    EXPECT_TRUE(camera.storeSize(800, 600));
    struct Case { int width, height; };
    for (const Case c : {Case{0, 600}, Case{800, 0}, Case{-5, 600}, Case{800, -1}, Case{0, 0}}) {
        EXPECT_FALSE(camera.storeSize(c.width, c.height)) << c.width << " x " << c.height;
        EXPECT_EQ(camera.windowWidth(), 800);
        EXPECT_EQ(camera.windowHeight(), 600);
    }
    EXPECT_TRUE(camera.storeSize(1000, 601));
    EXPECT_EQ(camera.windowHeight(), 601) << "the size received is kept, not the 4:3 one asked for";
}

TEST(CameraSize, FourThreeRequestTruncates) {
    struct Case { int width, height; };
    for (const Case c : {Case{800, 600}, Case{1000, 750}, Case{801, 600}, Case{803, 602}, Case{1, 0}}) {
        EXPECT_EQ(Camera::fourThreeHeight(c.width), c.height) << c.width;
    }
}

TEST(CameraView, HalfHeightIsThirtySevenAndAHalf) {
    Camera camera;
    EXPECT_NEAR(camera.halfHeight(), 37.5, 1e-12);
    EXPECT_EQ(camera.eyeY(), -37.5);
    EXPECT_EQ(camera.eyeZ(), -37.5);
}
