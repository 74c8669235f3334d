#include "soak/LiveGlObjects.h"

#include <GL/gl.h>

LiveGlObjects LiveGlObjects::count() {
    // A fresh name lies one past the highest so far; give it straight back.
    GLuint nextTexture = 0;
    glGenTextures(1, &nextTexture);
    glDeleteTextures(1, &nextTexture);
    const GLuint nextList = glGenLists(1);
    glDeleteLists(nextList, 1);
    LiveGlObjects live;
    for (GLuint name = 1; name < nextTexture; ++name) {
        live.textures += glIsTexture(name) ? 1 : 0;
    }
    for (GLuint name = 1; name < nextList; ++name) {
        live.lists += glIsList(name) ? 1 : 0;
    }
    return live;
}
