#pragma once

#include "garden/StemSegment.h"

#include <vector>

// A flower's stem: a connected polyline from the base (first segment) to the
// tip (last), drawn as a green strip of one width.
class Stem {
public:
    int segmentCount() const;
    void setWidth(float w);
    float getWidth() const { return width; }
    float getTotalLength() const { return totalLength; }

    // Appends an already measured segment and adds its length once.
    void addSegment(const StemSegment& segment);
    // Appends a measured segment from the tip to (x, y); needs a segment already.
    void addPoint(float x, float y);
    // totalLength = the float sum of the segment lengths in order.
    void recomputeLength();
    // Removes every segment; the width stays.
    void clear();

    // Asked only of stems with at least one segment.
    float baseY() const;
    float tipX() const;
    float tipY() const;
    // The first segment whose start lies at or beyond fraction f of the length;
    // the last one when none does.
    const StemSegment& segmentAt(float f) const;
    const std::vector<StemSegment>& allSegments() const { return segments; }

    // The strip: one polygon per segment and one per joint (draw/StemDrawing.cpp).
    void draw() const;

private:
    std::vector<StemSegment> segments;  // base first, tip last
    float width = 0.0f;                 // strip width, world units
    float totalLength = 0.0f;           // world units
};
