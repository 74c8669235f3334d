#pragma once

#include "garden/Traits.h"

// The flower the player has to breed, with its picture in the upper-right corner.
class GoalFlower {
public:
    void setTraits(const Traits& t) { traits = t; }
    Traits getTraits() const { return traits; }
    int icon() const { return icon_; }

    // A fresh sprite of that picture in a texture of its own (draw/GoalIcon.cpp).
    void loadIcon(const char* path);
    // A 26 x 26 square centred on world (37, 60) (draw/GoalIcon.cpp).
    void drawIcon() const;

private:
    Traits traits;
    int icon_ = -1;  // sprite; -1 while not made
};

// The one goal of the process; all zeros until setUpGoal runs at start-up.
extern GoalFlower goal;

// The goal's record: yellow pistil of shape 0, green leaves of shape 0,
// white petals of shape 2.
Traits goalTraits();

// Sets the goal's traits and loads its icon from "./images/target5.png"
// (draw/GoalIcon.cpp, since the icon is a sprite).
void setUpGoal();

// One row of the starting-seed table.
struct StartingSeed {
    float x = 0.0f;  // world units
    float y = 0.0f;
    Traits traits;
};

// The three seeds of a new game, in the order they are laid.
const StartingSeed* startingSeeds();
constexpr int startingSeedCount = 3;
