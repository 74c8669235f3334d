// The goal flower's picture in the upper-right corner of the garden.
#include "garden/GoalFlower.h"

#include "draw/Sprite.h"

#include <GL/gl.h>

namespace {
const char* const goalIconFile = "./images/target5.png";
}

void GoalFlower::loadIcon(const char* path) {
    // A second load replaces the first picture rather than leaking it.
    releaseSprite(icon_);
    int texture = -1;
    makeSprite(icon_, texture, path);
}

void GoalFlower::drawIcon() const {
    if (icon_ < 0) {
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
    glPushMatrix();
        glTranslatef(37.0f, 60.0f, 0.0f);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        glScalef(26.0f, 26.0f, 1.0f);
        glCallList(static_cast<GLuint>(icon_));
    glPopMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
}

void setUpGoal() {
    goal.setTraits(goalTraits());
    goal.loadIcon(goalIconFile);
}
