#include "GardenBuilder.h"

#include "garden/FlowerList.h"
#include "garden/Hand.h"
#include "garden/Seed.h"
#include "garden/SeedList.h"

#include <cmath>
#include <memory>

namespace {
constexpr float stepUp = 0.85f;   // world units per motion, upward
constexpr int mostSteps = 200;    // a stem that never finishes stops here
}

Seed* GardenBuilder::laySeed(const Traits& traits, float x, float y) {
    std::unique_ptr<Seed> seed(new Seed);
    seed->setTraits(traits);
    seed->setX(x);
    seed->setY(y);
    Seed* laid = seed.get();
    SeedList::instance().add(std::move(seed));
    return laid;
}

void GardenBuilder::carry(const Seed& seed) {
    const float x = seed.x();
    const float y = seed.y();
    handMotion(x, y);
    handClick(x, y);
}

void GardenBuilder::moveTo(float x) { handMotion(x, plantY); }

void GardenBuilder::plant(float x) { handClick(x, plantY); }

int GardenBuilder::grow(float x, float bend) {
    for (int step = 1; step <= mostSteps && handState == Growing; ++step) {
        const float sideways = bend * std::sin(0.15f * static_cast<float>(step));
        handMotion(x + sideways, plantY + stepUp * static_cast<float>(step));
    }
    const auto& flowers = FlowerList::instance().flowers();
    return flowers.empty() ? 0 : flowers.back()->stem.segmentCount();
}

void GardenBuilder::breed(const Flower& first, const Flower& second) {
    const float ax = first.stem.tipX();
    const float ay = first.stem.tipY();
    const float bx = second.stem.tipX();
    const float by = second.stem.tipY();
    handMotion(ax, ay);
    handClick(ax, ay);
    handMotion(bx, by);
    handClick(bx, by);
}
