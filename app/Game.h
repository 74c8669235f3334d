#pragma once

// The frame loop: the clock, the update pass and the display pass, plus the
// one-time start-up and the restart of a game.
// Created by startUp (its first use) and never destroyed.
class Game {
public:
    static Game* instance();

    // Once, after the window exists and before the main loop. Throws the
    // font's std::runtime_error when the font can't be loaded.
    void startUp();
    // Reads the clock once per frame and sets timeStep.
    void tick();
    // Sways the finished flowers and tests them against the goal.
    void update();
    // One whole frame: tick, update where the screen has one, drawing, swap.
    void display();
    // Puts the garden back to its starting contents.
    void restart();

    int lastTick = 0;      // milliseconds, GLUT clock at the previous tick
    int nowTick = 0;       // milliseconds, GLUT clock at the current tick
    double timeStep = 0.0;  // seconds between the last two ticks, at most 0.12
    bool started = false;   // set as the last step of startUp

private:
    Game();
};
