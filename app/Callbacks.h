#pragma once

// The GLUT callbacks. Each only translates the event and hands it on.
void onReshape(int width, int height);
void onDisplay();
void onIdle();
void onMotion(int x, int y);
void onPassiveMotion(int x, int y);
void onMouse(int button, int state, int x, int y);
void onKey(unsigned char key, int x, int y);
void onKey(int key, int x, int y);
