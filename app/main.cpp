// The entry: one window, the callbacks, the start-up, then GLUT's loop for good.
#include "app/Game.h"
#include "app/GameWindow.h"
#include "app/SwapInterval.h"

#include <GL/freeglut.h>
#include <cstdio>
#include <stdexcept>

int main(int argc, char** argv) {
    GameWindow::open(argc, argv);
    GameWindow::registerCallbacks();
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
