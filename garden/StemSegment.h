#pragma once

// One straight piece of a stem, in world units.
struct StemSegment {
    float startX = 0.0f;  // start point, world units
    float startY = 0.0f;
    float endX = 0.0f;    // end point, world units
    float endY = 0.0f;
    float dirX = 0.0f;    // unit direction from start to end, valid after measure()
    float dirY = 0.0f;
    float length = 0.0f;  // world units, valid after measure()

    // Works out length and direction from the two points; a vertical or
    // zero-length piece gets an exact vertical direction, never a division by 0.
    void measure();

    // A measured segment from (x0, y0) to (x1, y1).
    static StemSegment between(float x0, float y0, float x1, float y1);
};
