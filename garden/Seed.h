#pragma once

#include "garden/Traits.h"

// A seed lying on the ground (or carried) until it is planted.
class Seed {
public:
    // Makes the seed's own sprite of the seed picture; position (0, 0).
    Seed();
    ~Seed();
    Seed(const Seed&) = delete;
    Seed& operator=(const Seed&) = delete;

    void setTraits(const Traits& t) { traits = t; }
    Traits getTraits() const { return traits; }
    void setX(float v) { x_ = v; }
    void setY(float v) { y_ = v; }
    float x() const { return x_; }
    float y() const { return y_; }
    int sprite() const { return sprite_; }

    // A 4 x 4 square at the seed, in the seed colour (draw/GardenDrawing.cpp).
    void draw() const;

private:
    Traits traits;
    float x_ = 0.0f;   // centre, world units
    float y_ = 0.0f;
    int sprite_ = -1;  // display list of the seed picture; -1 while not made
};
