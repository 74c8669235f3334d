#pragma once

#include <chrono>

// Start-up measured in fresh processes of this program, so neither side finds
// caches or the driver warmed by the other: the game's window, start-up and
// first title frame, and a bare GLUT window's first cleared and swapped frame.
class StartUpProbe {
public:
    using Clock = std::chrono::steady_clock;

    // Medians over the runs, milliseconds from main() to the moment named.
    struct Times {
        double bareFirstFrame = 0.0;  // bare window: first frame cleared, swapped, finished
        double gameStartUpCall = 0.0; // Game::startUp alone (its own duration)
        double gameFirstFrame = 0.0;  // game: first title frame swapped and finished
    };

    // In a child started by measure(): runs the window named on the command
    // line and ends the process. Returns false when this is not such a child.
    static bool runChildIfAsked(int argc, char** argv, Clock::time_point mainEntry);

    // Starts `runs` children of each kind, alternating, bare window first.
    static Times measure(int runs);
};
