#include "soak/PlayerHand.h"

#include "app/Callbacks.h"

#include <GL/freeglut.h>

#include <cmath>

namespace {
constexpr float pixelsPerUnit = 8.0f;
constexpr int windowMiddleX = 400;  // pixels: world x 0
constexpr int windowBottom = 600;   // pixels: world y 0, the ground line

int pixelX(float x) { return windowMiddleX + static_cast<int>(std::lround(x * pixelsPerUnit)); }
int pixelY(float y) { return windowBottom - static_cast<int>(std::lround(y * pixelsPerUnit)); }

int lastX = 0;  // pixels, where the pointer is
int lastY = 0;
}  // namespace

void PlayerHand::moveTo(float x, float y) {
    lastX = pixelX(x);
    lastY = pixelY(y);
    onPassiveMotion(lastX, lastY);
}

void PlayerHand::click() {
    onMouse(GLUT_LEFT_BUTTON, GLUT_DOWN, lastX, lastY);
    onMouse(GLUT_LEFT_BUTTON, GLUT_UP, lastX, lastY);
}

void PlayerHand::clickAt(float x, float y) {
    moveTo(x, y);
    click();
}

void PlayerHand::frame() { onDisplay(); }
