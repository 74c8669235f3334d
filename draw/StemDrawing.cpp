// The stem's strip: one polygon per segment and one filling each joint.
#include "garden/Stem.h"

#include <GL/gl.h>

#include <cstddef>

namespace {

// One corner of the strip: a segment point moved sideways by `side` half
// widths (+1 to the right of the direction, -1 to the left).
void stemVertex(float x, float y, const StemSegment& direction, double halfWidth, double side) {
    glVertex2f(static_cast<float>(x + side * halfWidth * direction.dirY),
               static_cast<float>(y - side * halfWidth * direction.dirX));
}

}  // namespace

void Stem::draw() const {
    const double halfWidth = double(width) * 0.5;  // world units
    glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const StemSegment& s = segments[i];
        glBegin(GL_POLYGON);
            stemVertex(s.startX, s.startY, s, halfWidth, 1.0);
            stemVertex(s.endX, s.endY, s, halfWidth, 1.0);
            stemVertex(s.endX, s.endY, s, halfWidth, -1.0);
            stemVertex(s.startX, s.startY, s, halfWidth, -1.0);
        glEnd();
        if (i + 1 < segments.size()) {
            // Its corners lie on a circle round the joint: it covers the wedge
            // left open on the outer side of a bend.
            const StemSegment& next = segments[i + 1];
            glBegin(GL_POLYGON);
                stemVertex(s.endX, s.endY, s, halfWidth, 1.0);
                stemVertex(next.startX, next.startY, next, halfWidth, 1.0);
                stemVertex(s.endX, s.endY, s, halfWidth, -1.0);
                stemVertex(next.startX, next.startY, next, halfWidth, -1.0);
            glEnd();
        }
    }
}
