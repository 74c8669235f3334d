#pragma once

// The perspective camera: keeps the window 4:3 and shows the garden's world
// rectangle x -50..50, y 0..75 in the plane z = 0.
// Created by the first reshape (or the first pointer mapping); never destroyed.
class Camera {
public:
    static Camera* instance();

    // The reshape callback's work: buffers cleared, a 4:3 size requested, then
    // viewport and projection for the size received (OpenGL; CameraProjection.cpp).
    void reshape(int width, int height);
    // Modelview = the eye translation; once per play and won frame (CameraProjection.cpp).
    void apply() const;

    // Keeps a reshape's size when both sides are positive; false leaves the old one.
    bool storeSize(int width, int height);
    // The height that makes `width` 4:3, truncated like the window request.
    static int fourThreeHeight(int width) { return (3 * width) / 4; }

    // Half the view's height at z = 0, world units (37.5).
    double halfHeight() const;
    int windowWidth() const { return windowWidth_; }
    int windowHeight() const { return windowHeight_; }
    double eyeX() const { return eyeX_; }
    double eyeY() const { return eyeY_; }
    double eyeZ() const { return eyeZ_; }
    double fovY() const { return fovY_; }

private:
    int windowWidth_ = 0;   // pixels, from the last reshape with a positive size
    int windowHeight_ = 0;  // pixels, likewise
    double fovY_ = 90.0;    // vertical field of view, degrees
    double eyeX_ = 0.0;     // modelview translation, world units
    double eyeY_ = -37.5;
    double eyeZ_ = -37.5;
};
