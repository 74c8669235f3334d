#include "app/ScreenState.h"

int screenState = Title;

ButtonOutcome routeButton(int screen, bool leftButton, bool pressed) {
    ButtonOutcome outcome;
    outcome.nextScreen = screen;
    if (!pressed) {
        return outcome;
    }
    switch (screen) {
    case Title:
        outcome.nextScreen = Instructions;
        break;
    case Instructions:
        outcome.nextScreen = Playing;
        outcome.clearBuffers = true;
        break;
    case Won:
        outcome.restart = true;
        outcome.nextScreen = Playing;
        break;
    default:
        outcome.toHand = leftButton;
        break;
    }
    return outcome;
}
