#include "garden/Hand.h"

#include "garden/FlowerList.h"
#include "garden/GardenHooks.h"
#include "garden/Geometry.h"
#include "garden/Seed.h"
#include "garden/SeedList.h"
#include "garden/Traits.h"

#include <utility>

int handState = Idle;
std::unique_ptr<Flower> growingFlower;
StemSegment dragSegment;

namespace {

constexpr double plantingCentreX = 0.0;      // world units
constexpr double plantingCentreY = -50.0;    // world units, below the ground line
constexpr double plantingRadius = 70.0;      // world units, boundary included
constexpr float plantingStemWidth = 0.7f;    // world units
constexpr double smallestStepSquared = 0.2;  // world units squared
constexpr double pistilFactor = 0.05;        // pistil size per unit of stem length
constexpr double widthFactor = 0.03;         // stem width per unit of stem length
constexpr double widthBase = 0.3;            // world units
constexpr float finishingLength = 20.0f;     // world units
constexpr float groundLine = 0.0f;           // world y; below it growing ends
constexpr float bredSeedX = 0.0f;            // world units
constexpr float bredSeedY = 10.0f;           // world units

void setDragStart(float x, float y)
{
    dragSegment.startX = x;
    dragSegment.startY = y;
}

void setDragEnd(float x, float y)
{
    dragSegment.endX = x;
    dragSegment.endY = y;
}

void clearDrag()
{
    dragSegment = StemSegment();
}

void plant(Seed& seed, float x, float y)
{
    handState = Growing;
    growingFlower.reset(new Flower);
    growingFlower->stem.setWidth(plantingStemWidth);
    growingFlower->reset();
    growingFlower->setTraits(seed.getTraits());
    SeedList::instance().remove(&seed);
    SeedList::instance().setSelected(nullptr);
    growingFlower->setPistilSize(0.0f);
    growingFlower->setLeafSize(0.0f);
    growingFlower->setPetalSize(0.0f);
    setDragStart(x, y);
    setDragEnd(x, y);
}

// A left press with nothing in hand: take a seed, or select or breed flowers.
void clickIdle(float x, float y)
{
    SeedList& seeds = SeedList::instance();
    FlowerList& flowers = FlowerList::instance();

    if (Seed* s = seeds.hitTest(x, y)) {
        seeds.setSelected(s);
        handState = CarryingSeed;
        return;
    }
    seeds.setSelected(nullptr);

    Flower* f = flowers.hitTest(x, y);
    Flower* q = flowers.selected();
    if (!f) {
        return;
    }
    if (!q) {
        flowers.setSelected(f);
        return;
    }
    std::unique_ptr<Seed> child(new Seed);
    child->setTraits(crossbreed(q->getTraits(), f->getTraits()));
    child->setX(bredSeedX);
    child->setY(bredSeedY);
    seeds.add(std::move(child));
    flowers.setSelected(nullptr);
}

void moveGrowing(float x, float y)
{
    setDragEnd(x, y);
    Stem& stem = growingFlower->stem;

    if (y < groundLine) {
        handState = Idle;
        if (stem.segmentCount() > 0) {
            finishGrowing();
        } else {
            growingFlower.reset();  // nothing grew; the seed is gone with it
        }
        clearDrag();
        return;
    }

    if (distanceSquared(dragSegment.startX, dragSegment.startY, x, y) < smallestStepSquared) {
        return;
    }

    if (stem.segmentCount() == 0) {
        StemSegment first = dragSegment;
        first.measure();
        stem.addSegment(first);
    } else {
        stem.addPoint(x, y);
    }
    stem.recomputeLength();
    const float length = stem.getTotalLength();

    const float pistil = static_cast<float>(length * pistilFactor);
    growingFlower->setPistilSize(pistil);
    growingFlower->setLeafSize(static_cast<float>((pistil - 0.5) * 2.0));
    growingFlower->setPetalSize(pistil);
    stem.setWidth(static_cast<float>(length * widthFactor + widthBase));

    setDragStart(x, y);
    setDragEnd(x, y);

    if (length >= finishingLength) {
        handState = Idle;
        finishGrowing();
        clearDrag();
    }
}

}  // namespace

void handClick(float x, float y)
{
    switch (handState) {
    case Idle:
        clickIdle(x, y);
        break;
    case CarryingSeed: {
        Seed* carried = SeedList::instance().selected();
        if (!carried) {
            // The seed went with a cleared list; there is nothing left to plant.
            resetHand();
            break;
        }
        if (distance(x, y, plantingCentreX, plantingCentreY) <= plantingRadius) {
            plant(*carried, x, y);
        }
        break;
    }
    case Growing:
        if (!growingFlower) {
            resetHand();
        }
        break;
    default:
        break;
    }
}

void handMotion(float x, float y)
{
    switch (handState) {
    case Idle: {
        Seed* s = SeedList::instance().hitTest(x, y);
        SeedList::instance().setSelected(s);
        if (!s) {
            FlowerList::instance().hitTest(x, y);
        }
        break;
    }
    case CarryingSeed:
        if (Seed* carried = SeedList::instance().selected()) {
            carried->setX(x);
            carried->setY(y);
        } else {
            resetHand();
        }
        break;
    case Growing:
        if (growingFlower) {
            moveGrowing(x, y);
        } else {
            resetHand();
        }
        break;
    default:
        break;
    }
}

void finishGrowing()
{
    if (!growingFlower) {
        return;
    }
    FlowerList::instance().add(std::move(growingFlower));
    growingFlower.reset();
    if (gardenHooks.playFinishSound) {
        gardenHooks.playFinishSound();
    }
}

void resetHand()
{
    if (handState == CarryingSeed) {
        SeedList::instance().setSelected(nullptr);
    }
    handState = Idle;
    growingFlower.reset();
    clearDrag();
}
