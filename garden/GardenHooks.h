#pragma once

// The few things the garden asks of the rest of the game: pictures and the
// reward sound. Game::startUp points them at the sprite and sound layers; until
// then they are empty and do nothing, which is what the rule tests rely on.
struct GardenHooks {
    int (*makeSeedSprite)() = nullptr;          // a new sprite of the seed picture
    void (*releaseSprite)(int sprite) = nullptr;  // frees a sprite's list and texture
    void (*remakeOrganSprites)() = nullptr;     // refills the nine organ tables
    void (*playFinishSound)() = nullptr;        // the effect of a finished flower
};

// Process-wide; static storage, filled once by Game::startUp.
extern GardenHooks gardenHooks;
