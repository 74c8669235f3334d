#include "view/MouseState.h"

#include "view/Camera.h"

MouseState* MouseState::instance() {
    static MouseState* mouse = new MouseState();
    return mouse;
}

void MouseState::mapPointer(double px, double py) {
    const Camera* camera = Camera::instance();
    const int width = camera->windowWidth();
    const int height = camera->windowHeight();
    const int halfWidth = width / 2;
    const int halfHeight = height / 2;
    // Before the first real reshape, or in a window under 2 pixels high, there is
    // no scale: keep the last position rather than store infinities.
    if (halfHeight == 0) {
        return;
    }

    if (px < 0.0) {
        px = 0.0;
    } else if (px > width) {
        px = width;
    }
    if (py < 0.0) {
        py = 0.0;
    } else if (py > height) {
        py = height;
    }

    const float cx = static_cast<float>(px - halfWidth);
    const float cy = static_cast<float>(py - halfHeight);
    const double s = 1.0 / halfHeight;
    worldX = static_cast<float>(camera->halfHeight() * (cx * s) - camera->eyeX());
    worldY = static_cast<float>(camera->halfHeight() * (-(cy * s)) - camera->eyeY());
}
