#include "garden/GoalFlower.h"

GoalFlower goal;

namespace {

Traits makeTraits(float pr, float pg, float pb, float lr, float lg, float lb, float er, float eg,
                  float eb, int petalShape, int leafShape, int pistilShape)
{
    Traits t;
    t.pistilColor[0] = pr;
    t.pistilColor[1] = pg;
    t.pistilColor[2] = pb;
    t.leafColor[0] = lr;
    t.leafColor[1] = lg;
    t.leafColor[2] = lb;
    t.petalColor[0] = er;
    t.petalColor[1] = eg;
    t.petalColor[2] = eb;
    t.petalShape = petalShape;
    t.leafShape = leafShape;
    t.pistilShape = pistilShape;
    return t;
}

StartingSeed makeStartingSeed(float x, float y, const Traits& traits)
{
    StartingSeed row;
    row.x = x;
    row.y = y;
    row.traits = traits;
    return row;
}

}  // namespace

Traits goalTraits()
{
    //                pistil colour      leaf colour        petal colour       petal leaf pistil
    return makeTraits(1.0f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f, 2, 0, 0);
}

const StartingSeed* startingSeeds()
{
    // Each seed holds two of the goal's six groups, each group from a different seed.
    static const StartingSeed rows[startingSeedCount] = {
        makeStartingSeed(-20.0f, 10.0f,
                         makeTraits(1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 1.0f, 0.5f, 0.0f, 1, 2, 0)),
        makeStartingSeed(0.0f, 10.0f,
                         makeTraits(1.0f, 1.0f, 0.0f, 1.0f, 0.5f, 0.4f, 1.0f, 1.0f, 1.0f, 0, 1, 1)),
        makeStartingSeed(20.0f, 10.0f,
                         makeTraits(1.0f, 0.0f, 1.0f, 0.7f, 0.7f, 1.0f, 0.5f, 1.0f, 0.5f, 2, 0, 2)),
    };
    return rows;
}
