#include "app/Callbacks.h"

#include "app/Game.h"
#include "app/ScreenState.h"
#include "garden/Hand.h"
#include "view/Camera.h"
#include "view/MouseState.h"

#include <GL/freeglut.h>

void onReshape(int width, int height) { Camera::instance()->reshape(width, height); }

void onDisplay() { Game::instance()->display(); }

void onIdle() {
    Game::instance();
    glutPostRedisplay();
}

void onMotion(int x, int y) {
    MouseState* mouse = MouseState::instance();
    mouse->mapPointer(static_cast<double>(x), static_cast<double>(y));
    handMotion(mouse->worldX, mouse->worldY);
}

void onPassiveMotion(int x, int y) { onMotion(x, y); }

void onMouse(int button, int state, int /*x*/, int /*y*/) {
    MouseState* mouse = MouseState::instance();
    const ButtonOutcome outcome = routeButton(screenState, button == GLUT_LEFT_BUTTON, state == GLUT_DOWN);
    if (outcome.restart) {
        Game::instance()->restart();
    }
    if (outcome.clearBuffers) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    screenState = outcome.nextScreen;
    // A click acts where the last motion was, not at the button event's pixel.
    if (outcome.toHand) {
        handClick(mouse->worldX, mouse->worldY);
    }
}

void onKey(unsigned char /*key*/, int /*x*/, int /*y*/) { MouseState::instance(); }

void onKey(int /*key*/, int /*x*/, int /*y*/) { MouseState::instance(); }
