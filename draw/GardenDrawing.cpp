// The seeds and flowers lying in the garden, with the markers that show
// which one the pointer is over and which one is picked.
#include "garden/FlowerList.h"
#include "garden/Seed.h"
#include "garden/SeedList.h"

#include "draw/Sprite.h"

#include <GL/gl.h>

namespace {

const char* const selectorFile = "./images/selector.png";

void enableSpriteStates() {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.0f);
}

void disableSpriteStates() {
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_2D);
}

// A square marker of side `size` world units centred on (x, y).
void drawMarker(int sprite, float x, float y, float size, float red, float green, float blue) {
    if (sprite < 0) {
        return;
    }
    glColor4f(red, green, blue, 1.0f);
    glPushMatrix();
        glTranslatef(x, y, 0.0f);
        glScalef(size, size, 1.0f);
        glCallList(static_cast<GLuint>(sprite));
    glPopMatrix();
}

void loadSelector(int& sprite) {
    int texture = -1;
    makeSprite(sprite, texture, selectorFile);
}

}  // namespace

void Seed::draw() const {
    if (sprite_ < 0) {
        return;
    }
    glPushMatrix();
        glTranslatef(x_, y_, 0.0f);
        glColor4f(0.8f, 0.6f, 0.2f, 1.0f);
        glScalef(4.0f, 4.0f, 1.0f);
        glCallList(static_cast<GLuint>(sprite_));
    glPopMatrix();
}

void SeedList::loadMarkers() {
    loadSelector(selectedMarker_);
    loadSelector(hoverMarker_);
}

void SeedList::draw() const {
    enableSpriteStates();
    for (const auto& seed : seeds_) {
        seed->draw();
    }
    if (selected_ != nullptr) {
        drawMarker(selectedMarker_, selected_->x(), selected_->y(), 6.0f, 1.0f, 1.0f, 1.0f);
    }
    if (hovered_ != nullptr) {
        drawMarker(hoverMarker_, hovered_->x(), hovered_->y(), 6.0f, 1.0f, 1.0f, 1.0f);
    }
    disableSpriteStates();
}

void FlowerList::loadMarkers() {
    loadSelector(marker_);
}

void FlowerList::draw() const {
    for (const auto& flower : flowers_) {
        flower->draw();
    }
    enableSpriteStates();
    if (hovered_ != nullptr && hovered_->stem.segmentCount() > 0) {
        const float size = static_cast<float>(double(hovered_->pistilSize()) * 14.0);
        drawMarker(marker_, hovered_->stem.tipX(), hovered_->stem.tipY(), size, 1.0f, 1.0f, 1.0f);
    }
    if (selected_ != nullptr && selected_->stem.segmentCount() > 0) {
        const float size = static_cast<float>(double(selected_->pistilSize()) * 14.0);
        drawMarker(marker_, selected_->stem.tipX(), selected_->stem.tipY(), size, 0.0f, 1.0f, 0.0f);
    }
    disableSpriteStates();
}
