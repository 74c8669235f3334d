#include "garden/StemSegment.h"

#include <cmath>

void StemSegment::measure()
{
    const float dx = endX - startX;
    const float dy = endY - startY;
    length = static_cast<float>(std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy));
    if (endX != startX) {
        dirX = dx / length;
        dirY = dy / length;
    } else {
        // Vertical, or both ends in one place: an exact vertical direction.
        dirX = 0.0f;
        dirY = endY > startY ? 1.0f : -1.0f;
    }
}

StemSegment StemSegment::between(float x0, float y0, float x1, float y1)
{
    StemSegment segment;
    segment.startX = x0;
    segment.startY = y0;
    segment.endX = x1;
    segment.endY = y1;
    segment.measure();
    return segment;
}
