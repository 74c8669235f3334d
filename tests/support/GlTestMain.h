#pragma once

// Size of the hidden test window's drawing area, in pixels.
constexpr int glTestWidth = 800;
constexpr int glTestHeight = 600;

// The GLUT window whose context every drawing test uses.
int glTestWindow();
