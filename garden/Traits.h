#pragma once

// The inheritable record of a seed, a flower and the goal: three organ colours
// and, for each organ, which of its three pictures it shows. A plain value,
// copied whole wherever it goes.
struct Traits {
    float pistilColor[3] = {0.0f, 0.0f, 0.0f};  // red, green, blue, each 0..1
    float leafColor[3] = {0.0f, 0.0f, 0.0f};    // red, green, blue, each 0..1
    float petalColor[3] = {0.0f, 0.0f, 0.0f};   // red, green, blue, each 0..1
    int petalShape = 0;                         // index into petalSprites, 0..2
    int leafShape = 0;                          // index into leafSprites, 0..2
    int pistilShape = 0;                        // index into pistilSprites, 0..2
};

// The six parts of a record that crossbreeding moves as a whole; the numbers
// are what the random draw yields.
enum TraitGroup {
    LeafColorGroup = 0,
    PetalColorGroup = 1,
    PistilColorGroup = 2,
    LeafShapeGroup = 3,
    PistilShapeGroup = 4,
    PetalShapeGroup = 5,
    TraitGroupCount = 6
};

// True when all nine colour floats (exact equality) and the three shapes agree.
bool traitsMatch(const Traits& a, const Traits& b);

// True when a and b hold equal values in one group.
bool sameInGroup(const Traits& a, const Traits& b, int group);

// The child of two parents: a copy of `first` with one group in which the
// parents differ taken from `second`. Equal parents draw no random number.
Traits crossbreed(const Traits& first, const Traits& second);
