#include "view/Camera.h"
#include "view/MouseState.h"

#include <gtest/gtest.h>

namespace {

struct MappingCase {
    int width, height;     // window, pixels
    double px, py;         // pointer, pixels
    float worldX, worldY;  // expected, world units
};

}  // namespace

TEST(MouseMapping, PixelsToWorldUnits) {
    const MappingCase cases[] = {
        // The 800 x 600 window: one unit is 8 pixels.
        {800, 600, 400, 300, 0.0f, 37.5f},
        {800, 600, 0, 600, -50.0f, 0.0f},
        {800, 600, 0, 0, -50.0f, 75.0f},
        {800, 600, 800, 600, 50.0f, 0.0f},
        {800, 600, 408, 292, 1.0f, 38.5f},
        // Outside the window maps as the nearest edge; the edges themselves are allowed.
        {800, 600, -30, 700, -50.0f, 0.0f},
        {800, 600, 950, -4, 50.0f, 75.0f},
        // Resized to 1000 x 750 the view is the same rectangle.
        {1000, 750, 500, 375, 0.0f, 37.5f},
        {1000, 750, 0, 750, -50.0f, 0.0f},
        {1000, 750, 1000, 0, 50.0f, 75.0f},
        // Not 4:3 yet: y still spans 0..75, x widens with the aspect.
        {1000, 600, 0, 300, -62.5f, 37.5f},
        {1000, 600, 1000, 0, 62.5f, 75.0f},
        // An odd height puts the clamped bottom edge just under the ground line.
        {800, 601, 400, 601, 0.0f, -0.125f},
        {800, 601, 400, 0, 0.0f, 75.0f},
    };
    for (const MappingCase& c : cases) {
        ASSERT_TRUE(Camera::instance()->storeSize(c.width, c.height));
        MouseState mouse;
        mouse.mapPointer(c.px, c.py);
        EXPECT_NEAR(mouse.worldX, c.worldX, 1e-4) << c.width << "x" << c.height << " at " << c.px << "," << c.py;
        EXPECT_NEAR(mouse.worldY, c.worldY, 1e-4) << c.width << "x" << c.height << " at " << c.px << "," << c.py;
    }
}

TEST(MouseMapping, EvenHeightNeverBelowGround) {
    for (int height : {2, 100, 600, 750, 1024}) {
        ASSERT_TRUE(Camera::instance()->storeSize(height * 4 / 3, height));
        MouseState mouse;
        mouse.mapPointer(0.0, height + 50.0);
        EXPECT_GE(mouse.worldY, 0.0f) << height;
    }
}

TEST(MouseMapping, WithoutAScaleTheLastPositionStays) {
    MouseState mouse;
    ASSERT_TRUE(Camera::instance()->storeSize(800, 600));
    mouse.mapPointer(408, 292);
    // A window one pixel high has no half-height to scale by.
    ASSERT_TRUE(Camera::instance()->storeSize(800, 1));
    mouse.mapPointer(100, 0);
    EXPECT_FLOAT_EQ(mouse.worldX, 1.0f);
    EXPECT_FLOAT_EQ(mouse.worldY, 38.5f);
}
