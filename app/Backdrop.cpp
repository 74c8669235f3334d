#include "app/Backdrop.h"

#include "draw/Sprite.h"

#include <GL/gl.h>
#include <cmath>

Backdrop* Backdrop::instance() {
    static Backdrop* backdrop = new Backdrop();
    return backdrop;
}

void Backdrop::loadPictures() {
    int texture = -1;
    makeSprite(backgroundSprite, texture, "./images/background.png");
    texture = -1;
    makeSprite(titleSprite, texture, "./images/titlescreen.png");
    texture = -1;
    makeSprite(instructionsSprite, texture, "./images/instructions.png");
    texture = -1;
    makeSprite(gameOverSprite, texture, "./images/gameover.png");
}

void Backdrop::setRectangle(double t, double r, double b, double l) {
    top = t;
    right = r;
    bottom = b;
    left = l;
}

void Backdrop::drawOverRectangle(int sprite) const {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPushMatrix();
        glTranslatef(static_cast<float>((left + right) * 0.5), static_cast<float>((bottom + top) * 0.5), 0.0f);
        glScalef(static_cast<float>(std::fabs(std::trunc(left - right))),
                 static_cast<float>(std::fabs(std::trunc(top - bottom))), 1.0f);
        glCallList(static_cast<GLuint>(sprite));
    glPopMatrix();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void Backdrop::drawBackground() const {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
        drawOverRectangle(backgroundSprite);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
}

void Backdrop::drawOpaque(int sprite) const {
    glEnable(GL_TEXTURE_2D);
        drawOverRectangle(sprite);
    glDisable(GL_TEXTURE_2D);
}

void Backdrop::drawTitle() const { drawOpaque(titleSprite); }
void Backdrop::drawInstructions() const { drawOpaque(instructionsSprite); }
void Backdrop::drawGameOver() const { drawOpaque(gameOverSprite); }
