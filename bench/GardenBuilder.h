#pragma once

#include "garden/Traits.h"

class Flower;
class Seed;

// Plays the garden through the hand's own entries (handMotion, handClick) in
// world units, as the pointer would after its pixels are mapped.
class GardenBuilder {
public:
    // World y at which seeds are planted: inside the planting dome.
    static constexpr float plantY = 2.0f;

    // Lays a seed with these traits on the ground, the way a bred seed lands.
    static Seed* laySeed(const Traits& traits, float x, float y);
    // Picks the seed up: a motion onto it, then a press.
    static void carry(const Seed& seed);
    // Moves the carried seed to (x, plantY); the press that plants is plant().
    static void moveTo(float x);
    // The press that plants the carried seed where the last motion left it.
    static void plant(float x);
    // Draws the stem upward in steps until the flower is finished; `bend`
    // swings it sideways, world units. Returns the finished stem's segments.
    static int grow(float x, float bend);
    // Selects the first flower and then breeds it with the second: a new seed.
    static void breed(const Flower& first, const Flower& second);
};
