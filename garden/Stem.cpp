#include "garden/Stem.h"

int Stem::segmentCount() const
{
    return static_cast<int>(segments.size());
}

void Stem::setWidth(float w)
{
    width = w;
}

void Stem::addSegment(const StemSegment& segment)
{
    segments.push_back(segment);
    totalLength += segment.length;
}

void Stem::addPoint(float x, float y)
{
    addSegment(StemSegment::between(segments.back().endX, segments.back().endY, x, y));
}

void Stem::recomputeLength()
{
    totalLength = 0.0f;
    for (const StemSegment& segment : segments) {
        totalLength += segment.length;
    }
}

void Stem::clear()
{
    segments.clear();
    totalLength = 0.0f;
}

float Stem::baseY() const
{
    return segments.front().startY;
}

float Stem::tipX() const
{
    return segments.back().endX;
}

float Stem::tipY() const
{
    return segments.back().endY;
}

const StemSegment& Stem::segmentAt(float f) const
{
    // A running float sum of length shares, so the leaves sit where they
    // always have, rounding included.
    float sum = 0.0f;
    for (const StemSegment& segment : segments) {
        if (sum >= f) {
            return segment;
        }
        sum += segment.length / totalLength;
    }
    return segments.back();
}
