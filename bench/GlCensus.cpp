#include "GlCensus.h"

#include <GL/gl.h>

GlCensus GlCensus::take() {
    GlCensus census;
    // A fresh name is one past the highest handed out; give it straight back.
    GLuint probeTexture = 0;
    glGenTextures(1, &probeTexture);
    glDeleteTextures(1, &probeTexture);
    const GLuint probeList = glGenLists(1);
    glDeleteLists(probeList, 1);
    for (GLuint name = 1; name < probeTexture; ++name) {
        census.textures += glIsTexture(name) ? 1 : 0;
    }
    for (GLuint name = 1; name < probeList; ++name) {
        census.lists += glIsList(name) ? 1 : 0;
    }
    return census;
}
