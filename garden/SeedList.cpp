#include "garden/SeedList.h"

#include "garden/Geometry.h"
#include "garden/GoalFlower.h"

#include <utility>

namespace {
constexpr double seedReachSquared = 4.0;  // world units squared: within 2 of the centre
}

SeedList& SeedList::instance()
{
    static SeedList* list = new SeedList;
    return *list;
}

void SeedList::add(std::unique_ptr<Seed> seed)
{
    seeds_.push_back(std::move(seed));
}

Seed* SeedList::hitTest(float x, float y)
{
    Seed* result = nullptr;
    for (const std::unique_ptr<Seed>& seed : seeds_) {
        if (distanceSquared(x, y, seed->x(), seed->y()) <= seedReachSquared) {
            result = seed.get();  // a later (newer) seed lies on top
        }
    }
    hovered_ = result;
    return result;
}

void SeedList::remove(Seed* seed)
{
    for (auto it = seeds_.begin(); it != seeds_.end(); ++it) {
        if (it->get() == seed) {
            if (hovered_ == seed) {
                hovered_ = nullptr;
            }
            if (selected_ == seed) {
                selected_ = nullptr;
            }
            seeds_.erase(it);
            return;
        }
    }
}

void SeedList::clear()
{
    selected_ = nullptr;
    hovered_ = nullptr;
    for (std::unique_ptr<Seed>& seed : seeds_) {
        seed.reset();
    }
    seeds_.clear();
}

void addStartingSeeds()
{
    const StartingSeed* rows = startingSeeds();
    for (int i = 0; i < startingSeedCount; ++i) {
        std::unique_ptr<Seed> seed(new Seed);
        seed->setTraits(rows[i].traits);
        seed->setX(rows[i].x);
        seed->setY(rows[i].y);
        SeedList::instance().add(std::move(seed));
    }
}
