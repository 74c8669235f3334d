// The OpenGL half of the camera; the sizes and the mapping maths stay in Camera.cpp.
#include "view/Camera.h"

#include <GL/freeglut.h>
#include <GL/glu.h>

void Camera::reshape(int width, int height) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // A minimised window reports a non-positive size; asking for one is an error
    // to the window system, so only real sizes are turned to 4:3.
    if (width <= 0 || height <= 0) {
        return;
    }
    glutReshapeWindow(width, fourThreeHeight(width));
    storeSize(width, height);

    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fovY_, static_cast<double>(width) / static_cast<double>(height), 0.001, 200.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(static_cast<float>(eyeX_), static_cast<float>(eyeY_), static_cast<float>(eyeZ_));
}

void Camera::apply() const {
    glLoadIdentity();
    glTranslatef(static_cast<float>(eyeX_), static_cast<float>(eyeY_), static_cast<float>(eyeZ_));
}
