#pragma once

#include "garden/Flower.h"
#include "garden/StemSegment.h"

#include <memory>

// What the pointer is doing in the garden.
enum HandState { Idle = 0, CarryingSeed = 1, Growing = 2 };

// Process-wide hand state, written only by the functions below.
extern int handState;
// The flower whose stem is being drawn; owned here until it is finished.
extern std::unique_ptr<Flower> growingFlower;
// Start: the last recorded stem point; end: the latest pointer position.
extern StemSegment dragSegment;

// A left press in play, at the last mapped world position.
void handClick(float x, float y);
// Every pointer motion, on every screen, in world units.
void handMotion(float x, float y);
// Hands the grown flower to the FlowerList and plays the effect.
void finishGrowing();
// Back to Idle with dragSegment at 0, forgetting any growing flower; used by a
// restart, after which a carried seed or a growing flower no longer exists.
void resetHand();
