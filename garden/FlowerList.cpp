#include "garden/FlowerList.h"

#include "garden/Geometry.h"

#include <utility>

namespace {
constexpr double reachFactorSquared = 12.25;  // (3.5 x pistil size)^2 is the bloom's reach
}

FlowerList& FlowerList::instance()
{
    static FlowerList* list = new FlowerList;
    return *list;
}

void FlowerList::add(std::unique_ptr<Flower> flower)
{
    flowers_.push_back(std::move(flower));
    sortByBase();
}

Flower* FlowerList::hitTest(float x, float y)
{
    Flower* result = nullptr;
    float best = -1.0f;  // world units squared; -1 while nothing is found
    for (const std::unique_ptr<Flower>& flower : flowers_) {
        const double d = distanceSquared(x, y, flower->stem.tipX(), flower->stem.tipY());
        const double size = flower->pistilSize();
        if (d <= reachFactorSquared * size * size) {
            if (best == -1.0f || static_cast<float>(d) < best) {
                result = flower.get();
                best = static_cast<float>(d);
            }
        }
    }
    hovered_ = result;
    return result;
}

void FlowerList::clear()
{
    selected_ = nullptr;
    hovered_ = nullptr;
    for (std::unique_ptr<Flower>& flower : flowers_) {
        flower.reset();
    }
    flowers_.clear();
}

void FlowerList::updateSway(float step)
{
    for (const std::unique_ptr<Flower>& flower : flowers_) {
        flower->advanceSway(step);
    }
}

bool FlowerList::anyMatches(const Traits& t) const
{
    for (const std::unique_ptr<Flower>& flower : flowers_) {
        if (traitsMatch(flower->getTraits(), t)) {
            return true;
        }
    }
    return false;
}

void FlowerList::sortByBase()
{
    // Stable, so a new flower goes after those planted at the same height.
    const int n = static_cast<int>(flowers_.size());
    int bound = n - 1;
    for (int pass = 0; pass < n && bound > 0; ++pass, --bound) {
        bool swapped = false;
        for (int k = 0; k < bound; ++k) {
            if (flowers_[k]->stem.baseY() < flowers_[k + 1]->stem.baseY()) {
                std::swap(flowers_[k], flowers_[k + 1]);
                swapped = true;
            }
        }
        if (!swapped) {
            break;
        }
    }
}
