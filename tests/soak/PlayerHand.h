#pragma once

// A player's pointer in the 800 x 600 window, fed to the game's own GLUT
// callbacks: positions are given in world units and sent as the pixels that
// map onto them.
class PlayerHand {
public:
    // A motion with no button held.
    static void moveTo(float x, float y);
    // A left press and release where the pointer is.
    static void click();
    // Moves there, then clicks.
    static void clickAt(float x, float y);
    // One frame, as GLUT's display callback would draw it.
    static void frame();
};
