#include "app/GameWindow.h"

#include "app/Callbacks.h"

#include <GL/freeglut.h>

void GameWindow::open(int& argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutCreateWindow("Bloomcross - Ardwen, Playloom");
    glutPositionWindow(100, 100);
}

void GameWindow::registerCallbacks() {
    glutReshapeFunc(onReshape);
    glutDisplayFunc(onDisplay);
    glutIdleFunc(onIdle);
    glutMotionFunc(onMotion);
    glutPassiveMotionFunc(onPassiveMotion);
    glutMouseFunc(onMouse);
    glutKeyboardFunc(onKey);
    glutKeyboardUpFunc(onKey);
    glutSpecialFunc(onKey);
    glutSpecialUpFunc(onKey);
    glutIgnoreKeyRepeat(1);
}
