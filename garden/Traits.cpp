#include "garden/Traits.h"

#include "garden/Random.h"

namespace {

bool sameColor(const float a[3], const float b[3])
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

void copyColor(float to[3], const float from[3])
{
    to[0] = from[0];
    to[1] = from[1];
    to[2] = from[2];
}

// Moves one whole group of `from` into `to`.
void copyGroup(Traits& to, const Traits& from, int group)
{
    switch (group) {
    case LeafColorGroup: copyColor(to.leafColor, from.leafColor); break;
    case PetalColorGroup: copyColor(to.petalColor, from.petalColor); break;
    case PistilColorGroup: copyColor(to.pistilColor, from.pistilColor); break;
    case LeafShapeGroup: to.leafShape = from.leafShape; break;
    case PistilShapeGroup: to.pistilShape = from.pistilShape; break;
    case PetalShapeGroup: to.petalShape = from.petalShape; break;
    default: break;
    }
}

}  // namespace

bool traitsMatch(const Traits& a, const Traits& b)
{
    return sameColor(a.pistilColor, b.pistilColor) && sameColor(a.leafColor, b.leafColor)
        && sameColor(a.petalColor, b.petalColor) && a.petalShape == b.petalShape
        && a.leafShape == b.leafShape && a.pistilShape == b.pistilShape;
}

bool sameInGroup(const Traits& a, const Traits& b, int group)
{
    switch (group) {
    case LeafColorGroup: return sameColor(a.leafColor, b.leafColor);
    case PetalColorGroup: return sameColor(a.petalColor, b.petalColor);
    case PistilColorGroup: return sameColor(a.pistilColor, b.pistilColor);
    case LeafShapeGroup: return a.leafShape == b.leafShape;
    case PistilShapeGroup: return a.pistilShape == b.pistilShape;
    case PetalShapeGroup: return a.petalShape == b.petalShape;
    default: return true;
    }
}

Traits crossbreed(const Traits& first, const Traits& second)
{
    Traits child = first;
    if (traitsMatch(first, second)) {
        return child;
    }
    // The parents differ somewhere, so this ends; each differing group is as
    // likely as the others to be the one that moves.
    for (;;) {
        const int group = randomBelow(TraitGroupCount);
        if (!sameInGroup(child, second, group)) {
            copyGroup(child, second, group);
            return child;
        }
    }
}
