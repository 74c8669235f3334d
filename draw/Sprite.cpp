#include "draw/Sprite.h"

#include "draw/PngTexture.h"
#include "garden/GardenHooks.h"

#include <GL/gl.h>

#include <unordered_map>

int petalSprites[organShapeCount] = {-1, -1, -1};
int leafSprites[organShapeCount] = {-1, -1, -1};
int pistilSprites[organShapeCount] = {-1, -1, -1};

namespace {

const char* const pistilFiles[organShapeCount] = {"./images/pistil.png", "./images/pistil2.png",
                                                  "./images/pistil3.png"};
const char* const leafFiles[organShapeCount] = {"./images/leaf.png", "./images/leaf2.png",
                                                "./images/leaf3.png"};
const char* const petalFiles[organShapeCount] = {"./images/petal.png", "./images/petal2.png",
                                                 "./images/petal3.png"};
const char* const seedFile = "./images/seed.png";

// The texture each sprite loaded for itself, so releasing the sprite frees it.
std::unordered_map<int, unsigned>& ownTextures() {
    static std::unordered_map<int, unsigned> textures;
    return textures;
}

void remakeTable(int (&table)[organShapeCount], const char* const (&files)[organShapeCount]) {
    for (int i = 0; i < organShapeCount; ++i) {
        int texture = -1;
        makeSprite(table[i], texture, files[i]);
    }
}

void releaseHook(int sprite) {
    releaseSprite(sprite);
}

}  // namespace

void makeSprite(int& sprite, int& texture, const char* path) {
    if (sprite >= 0) {
        return;
    }
    const bool loadedHere = texture < 0;
    if (loadedHere) {
        texture = static_cast<int>(pngBind(path, GL_CLAMP, GL_LINEAR, GL_LINEAR));
    }
    sprite = static_cast<int>(glGenLists(1));
    glNewList(static_cast<GLuint>(sprite), GL_COMPILE);
        if (texture >= 0) {
            glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(texture));
        }
        glBegin(GL_QUADS);
            glNormal3f(0.0f, 0.0f, 1.0f);
            glTexCoord2f(0.0f, 1.0f);
            glVertex2f(-0.5f, -0.5f);
            glTexCoord2f(1.0f, 1.0f);
            glVertex2f(0.5f, -0.5f);
            glTexCoord2f(1.0f, 0.0f);
            glVertex2f(0.5f, 0.5f);
            glTexCoord2f(0.0f, 0.0f);
            glVertex2f(-0.5f, 0.5f);
        glEnd();
    glEndList();
    if (loadedHere && texture > 0) {
        ownTextures()[sprite] = static_cast<unsigned>(texture);
    }
}

void releaseSprite(int& sprite) {
    if (sprite < 0) {
        return;
    }
    const auto found = ownTextures().find(sprite);
    if (found != ownTextures().end()) {
        const GLuint texture = found->second;
        glDeleteTextures(1, &texture);
        ownTextures().erase(found);
    }
    if (sprite > 0) {
        glDeleteLists(static_cast<GLuint>(sprite), 1);
    }
    sprite = -1;
}

void remakeOrganSprites() {
    // The old nine go after the new nine are made: the memory they free is
    // then reused by the next remake instead of being faulted in afresh.
    int previous[3][organShapeCount] = {};
    for (int i = 0; i < organShapeCount; ++i) {
        previous[0][i] = pistilSprites[i];
        previous[1][i] = leafSprites[i];
        previous[2][i] = petalSprites[i];
        pistilSprites[i] = -1;
        leafSprites[i] = -1;
        petalSprites[i] = -1;
    }
    remakeTable(pistilSprites, pistilFiles);
    remakeTable(leafSprites, leafFiles);
    remakeTable(petalSprites, petalFiles);
    for (auto& table : previous) {
        for (int& sprite : table) {
            releaseSprite(sprite);
        }
    }
}

int makeSeedSprite() {
    int sprite = -1;
    int texture = -1;
    makeSprite(sprite, texture, seedFile);
    return sprite;
}

void installSpriteHooks() {
    gardenHooks.makeSeedSprite = makeSeedSprite;
    gardenHooks.releaseSprite = releaseHook;
    gardenHooks.remakeOrganSprites = remakeOrganSprites;
}
