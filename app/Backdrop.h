#pragma once

// The four full-view pictures and the world rectangle they cover.
// Created at start-up by loadPictures; never destroyed.
class Backdrop {
public:
    static Backdrop* instance();

    // Background, title, instructions, game-over: each a sprite of its own.
    void loadPictures();
    void setRectangle(double top, double right, double bottom, double left);

    void drawBackground() const;    // blended, alpha-tested
    void drawTitle() const;         // opaque
    void drawInstructions() const;  // opaque
    void drawGameOver() const;      // opaque

    double left = 0.0;    // world x of the left edge
    double right = 0.0;   // world x of the right edge
    double bottom = 0.0;  // world y of the bottom edge
    double top = 0.0;     // world y of the top edge
    int backgroundSprite = -1;    // "./images/background.png"; -1 until made
    int titleSprite = -1;         // "./images/titlescreen.png"
    int instructionsSprite = -1;  // "./images/instructions.png"
    int gameOverSprite = -1;      // "./images/gameover.png"

private:
    // The sprite stretched over the rectangle, in the current states.
    void drawOverRectangle(int sprite) const;
    void drawOpaque(int sprite) const;
};
