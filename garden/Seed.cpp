#include "garden/Seed.h"

#include "garden/GardenHooks.h"

Seed::Seed()
{
    if (gardenHooks.makeSeedSprite) {
        sprite_ = gardenHooks.makeSeedSprite();
    }
}

Seed::~Seed()
{
    // Every seed has a picture of its own; give it back so a long game of
    // planting and breeding does not keep growing.
    if (gardenHooks.releaseSprite && sprite_ >= 0) {
        gardenHooks.releaseSprite(sprite_);
    }
}
