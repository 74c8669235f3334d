// The camera's projection against a real OpenGL: world corners land on the
// window's corners, and a size that isn't 4:3 yet widens x only.
#include "support/GlTestMain.h"
#include "view/Camera.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

namespace {

// Window pixel of a world point, through the current matrices.
void project(double x, double y, double& px, double& py) {
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    GLdouble pz = 0.0;
    gluProject(x, y, 0.0, model, projection, viewport, &px, &py, &pz);
}

}  // namespace

TEST(CameraProjection, WorldRectangleFillsTheWindow) {
    struct Case { int width, height; double left; };
    for (const Case c : {Case{800, 600, -50.0}, Case{1000, 750, -50.0}, Case{1000, 600, -62.5}}) {
        Camera::instance()->reshape(c.width, c.height);
        double px = 0.0, py = 0.0;
        project(c.left, 0.0, px, py);
        EXPECT_NEAR(px, 0.0, 1e-3) << c.width << "x" << c.height;
        EXPECT_NEAR(py, 0.0, 1e-3);
        project(-c.left, 75.0, px, py);
        EXPECT_NEAR(px, c.width, 1e-3);
        EXPECT_NEAR(py, c.height, 1e-3);
    }
}

TEST(CameraProjection, NonPositiveSizeKeepsTheLastView) {
    Camera::instance()->reshape(800, 600);
    Camera::instance()->reshape(0, 0);
    Camera::instance()->reshape(800, -3);
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    EXPECT_EQ(Camera::instance()->windowWidth(), 800);
    EXPECT_EQ(Camera::instance()->windowHeight(), 600);
}

TEST(CameraProjection, AsksForFourThree) {
    glutReshapeWindow(640, 640);
    for (int i = 0; i < 50 && glutGet(GLUT_WINDOW_HEIGHT) != 640; ++i) {
        glutMainLoopEvent();
    }
    Camera::instance()->reshape(640, 640);
    for (int i = 0; i < 50 && glutGet(GLUT_WINDOW_HEIGHT) != 480; ++i) {
        glutMainLoopEvent();
    }
    EXPECT_EQ(glutGet(GLUT_WINDOW_WIDTH), 640);
    EXPECT_EQ(glutGet(GLUT_WINDOW_HEIGHT), 480);
}

TEST(CameraProjection, ApplyResetsTheModelview) {
    Camera::instance()->reshape(800, 600);
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(5.0f, 5.0f, 0.0f);
    Camera::instance()->apply();
    double px = 0.0, py = 0.0;
    project(0.0, 37.5, px, py);
    EXPECT_NEAR(px, 400.0, 1e-3);
    EXPECT_NEAR(py, 300.0, 1e-3);
}
