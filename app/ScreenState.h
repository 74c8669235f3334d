#pragma once

// Which of the four screens shows.
enum ScreenState { Title = 0, Instructions = 1, Playing = 2, Won = 3 };

// Process-wide; Title from the start of the process and again at the end of start-up.
extern int screenState;

// What one mouse-button event does, worked out without touching anything.
struct ButtonOutcome {
    int nextScreen = Title;     // the screen after the event
    bool clearBuffers = false;  // leaving the instructions clears colour and depth
    bool restart = false;       // leaving the won screen starts a new game first
    bool toHand = false;        // a left press in play goes to the hand at the last mapped point
};

// Any press leaves the title, instructions and won screens; in play only a left
// press does anything; releases never do.
ButtonOutcome routeButton(int screen, bool leftButton, bool pressed);
