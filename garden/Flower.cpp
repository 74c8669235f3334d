#include "garden/Flower.h"

#include "garden/GardenHooks.h"

namespace {
constexpr double fullTurn = 6.283185307179586;  // radians
constexpr double leafSwayRate = 1.5;            // radians per unit of step
constexpr double bloomSwayRate = 0.9;           // radians per unit of step

// One phase moved on by rate x step, wrapped once past a full turn.
float advancePhase(float phase, float step, double rate)
{
    double next = static_cast<double>(phase) + static_cast<double>(step) * rate;
    if (next > fullTurn) {
        next -= fullTurn;
    }
    return static_cast<float>(next);
}
}  // namespace

void Flower::reset()
{
    if (gardenHooks.remakeOrganSprites) {
        gardenHooks.remakeOrganSprites();
    }
    stem.clear();

    Traits defaults;
    defaults.pistilColor[0] = 1.0f;
    defaults.pistilColor[1] = 1.0f;
    defaults.pistilColor[2] = 1.0f;
    defaults.leafColor[0] = 0.0f;
    defaults.leafColor[1] = 1.0f;
    defaults.leafColor[2] = 0.0f;
    defaults.petalColor[0] = 1.0f;
    defaults.petalColor[1] = 1.0f;
    defaults.petalColor[2] = 1.0f;
    defaults.petalShape = 0;
    defaults.leafShape = 0;
    defaults.pistilShape = 0;
    traits = defaults;

    pistilSize_ = 0.0f;
    leafSize_ = 0.0f;
    petalSize_ = 0.0f;
}

void Flower::advanceSway(float step)
{
    leafSway_ = advancePhase(leafSway_, step, leafSwayRate);
    bloomSway_ = advancePhase(bloomSway_, step, bloomSwayRate);
}
