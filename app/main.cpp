// The entry: one window, the callbacks, the start-up, then GLUT's loop for good.
#include "app/Callbacks.h"
#include "app/Game.h"
#include "app/SwapInterval.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_RGBA | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(800, 600);
    glutCreateWindow("Bloomcross - Ardwen, Playloom");
    glutPositionWindow(100, 100);

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

    SwapInterval::request(1);

    // The font is the one asset the game can't do without: say why and stop
    // cleanly instead of aborting.
    try {
        Game::instance()->startUp();
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }

    glutMainLoop();
    return 0;
}
