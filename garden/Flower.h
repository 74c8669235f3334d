#pragma once

#include "garden/Stem.h"
#include "garden/Traits.h"

// A planted seed: its stem, its traits, three organ sizes that follow the
// stem's length while it grows, and two sway phases.
class Flower {
public:
    Flower() = default;
    Flower(const Flower&) = delete;
    Flower& operator=(const Flower&) = delete;

    // Remakes the organ sprites, empties the stem, sets the default traits and
    // zero sizes. Leaves the stem width and the sway phases alone.
    void reset();

    void setTraits(const Traits& t) { traits = t; }
    Traits getTraits() const { return traits; }
    void setPistilSize(float s) { pistilSize_ = s; }
    void setLeafSize(float s) { leafSize_ = s; }
    void setPetalSize(float s) { petalSize_ = s; }
    float pistilSize() const { return pistilSize_; }
    float leafSize() const { return leafSize_; }
    float petalSize() const { return petalSize_; }
    float leafSway() const { return leafSway_; }
    float bloomSway() const { return bloomSway_; }
    void setSway(float leaf, float bloom) { leafSway_ = leaf; bloomSway_ = bloom; }

    // Advances both phases by the scaled time step (seconds), wrapping past 2 pi once.
    void advanceSway(float step);
    // Stem, two leaves, six petals and the pistil (draw/FlowerDrawing.cpp).
    void draw() const;

    Stem stem;

private:
    Traits traits;
    float pistilSize_ = 0.0f;  // world units; also the hit radius and marker scale
    float leafSize_ = 0.0f;    // world units
    float petalSize_ = 0.0f;   // world units
    float leafSway_ = 0.0f;    // radians, 0..2 pi
    float bloomSway_ = 0.0f;   // radians, 0..2 pi
};
