// A flower: its stem, two leaves hung on it, a ring of six petals round the
// tip and the pistil in the middle, all swaying with the flower's phases.
#include "garden/Flower.h"

#include "draw/Sprite.h"

#include <GL/gl.h>

#include <cmath>

namespace {

constexpr double degreesPerRadian = 57.29577951308232;
// pistilSize above which each leaf shows, world units.
constexpr double firstLeafThreshold = 0.5;
constexpr double secondLeafThreshold = 0.54;
// Where on the stem each leaf hangs, as a fraction of its length.
constexpr float firstLeafAt = 0.5f;
constexpr float secondLeafAt = 0.54f;

// The direction of a segment in degrees, from the angle rounded to a float.
double directionDegrees(const StemSegment& s) {
    const float radians = static_cast<float>(std::atan2(double(s.dirY), double(s.dirX)));
    return double(radians) * degreesPerRadian;
}

// The organ table entry for a shape, or -1 for a shape outside the table.
int organSprite(const int (&table)[organShapeCount], int shape) {
    return shape >= 0 && shape < organShapeCount ? table[shape] : -1;
}

void callSprite(int sprite) {
    if (sprite >= 0) {
        glCallList(static_cast<GLuint>(sprite));
    }
}

// A leaf anchored at the start of `anchor`, turned by `degrees`.
void drawLeaf(const StemSegment& anchor, double degrees, const float (&color)[3], float leafSize, int sprite) {
    const double scale = double(leafSize) * 5.0 * 0.7;
    glPushMatrix();
        glTranslatef(anchor.startX, anchor.startY, 0.0f);
        glRotatef(static_cast<float>(degrees), 0.0f, 0.0f, 1.0f);
        glColor4f(color[0], color[1], color[2], 1.0f);
        glScalef(static_cast<float>(scale), static_cast<float>(scale), 1.0f);
        glTranslatef(0.0f, static_cast<float>(double(leafSize) * 0.5), 0.0f);
        callSprite(sprite);
    glPopMatrix();
}

}  // namespace

void Flower::draw() const {
    if (stem.segmentCount() <= 0) {
        return;
    }
    stem.draw();

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);

    const int leaf = organSprite(leafSprites, traits.leafShape);
    const double leafSwing = 10.0 * std::sin(double(leafSway_));
    const double leafSwingBack = 10.0 * std::cos(double(leafSway_));
    if (double(pistilSize_) > firstLeafThreshold) {
        const StemSegment& s = stem.segmentAt(firstLeafAt);
        drawLeaf(s, directionDegrees(s) + leafSwing, traits.leafColor, leafSize_, leaf);
    }
    if (double(pistilSize_) > secondLeafThreshold) {
        const StemSegment& s = stem.segmentAt(secondLeafAt);
        drawLeaf(s, directionDegrees(s) - 180.0 + leafSwingBack, traits.leafColor, leafSize_, leaf);
    }

    const double bloomTurn = 4.0 * std::sin(double(bloomSway_));
    const float tipX = stem.tipX();
    const float tipY = stem.tipY();
    const double ringDegrees = directionDegrees(stem.segmentAt(1.0f)) + bloomTurn;
    const double petalScale = double(petalSize_) * 6.0 * 0.7;
    const int petal = organSprite(petalSprites, traits.petalShape);
    glPushMatrix();
        glTranslatef(tipX, tipY, 0.0f);
        glColor4f(traits.petalColor[0], traits.petalColor[1], traits.petalColor[2], 1.0f);
        glScalef(static_cast<float>(petalScale), static_cast<float>(petalScale), 1.0f);
        for (int k = 0; k < 360; k += 60) {
            glPushMatrix();
                glRotatef(static_cast<float>(ringDegrees + k + 30.0), 0.0f, 0.0f, 1.0f);
                glTranslatef(0.0f, static_cast<float>(double(petalSize_) * 0.8), 0.0f);
                callSprite(petal);
            glPopMatrix();
        }
    glPopMatrix();

    const double pistilScale = double(pistilSize_) * 7.0 * 0.7;
    glPushMatrix();
        glTranslatef(tipX, tipY, 0.0f);
        glRotatef(static_cast<float>(bloomTurn), 0.0f, 0.0f, 1.0f);
        glColor4f(traits.pistilColor[0], traits.pistilColor[1], traits.pistilColor[2], 1.0f);
        glScalef(static_cast<float>(pistilScale), static_cast<float>(pistilScale), 1.0f);
        callSprite(organSprite(pistilSprites, traits.pistilShape));
    glPopMatrix();

    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
}
