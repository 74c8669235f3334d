#pragma once

// The game's one window: 800 x 600, double-buffered RGBA with depth, titled
// and moved to (100, 100) after it is made. The benchmark opens the same one.
class GameWindow {
public:
    // glutInit takes its own options from the command line; the game has none.
    static void open(int& argc, char** argv);
    // The ten callbacks, in their order, and no repeated keys.
    static void registerCallbacks();
};
