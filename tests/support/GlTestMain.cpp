// Entry of the drawing tests: one hidden GLUT window gives every test a real
// OpenGL context (Mesa's software renderer under Xvfb).
#include "support/GlTestMain.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {
int windowId = 0;
}

int glTestWindow() { return windowId; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(glTestWidth, glTestHeight);
    windowId = glutCreateWindow("bloomcross test");
    glutHideWindow();
    glutDisplayFunc([] {});
    return RUN_ALL_TESTS();
}
