#pragma once

// The pointer's last position in world units, mapped from window pixels with
// the camera's numbers so it lands on what is drawn under it.
// Created at the first pointer or button event; never destroyed.
class MouseState {
public:
    static MouseState* instance();

    // px, py: pixels from the window's top-left corner, y downwards. Clamped to
    // the window; without a usable window size the previous position stays.
    void mapPointer(double px, double py);

    float worldX = 0.0f;  // world units, at the last motion
    float worldY = 0.0f;  // world units, at the last motion
};
