#include "app/ScreenState.h"

#include <gtest/gtest.h>

TEST(ScreenRouting, StartsOnTheTitle) { EXPECT_EQ(screenState, Title); }

TEST(ScreenRouting, EveryButtonOnEveryScreen) {
    enum Button { Left, Middle, Right };
    struct Case {
        int screen;
        Button button;
        bool pressed;
        int next;
        bool clear, restart, toHand;
    };
    const Case cases[] = {
        // Any press leaves the three pictures; none of them reaches the hand.
        {Title, Left, true, Instructions, false, false, false},
        {Title, Middle, true, Instructions, false, false, false},
        {Title, Right, true, Instructions, false, false, false},
        {Instructions, Left, true, Playing, true, false, false},
        {Instructions, Middle, true, Playing, true, false, false},
        {Instructions, Right, true, Playing, true, false, false},
        {Won, Left, true, Playing, false, true, false},
        {Won, Middle, true, Playing, false, true, false},
        {Won, Right, true, Playing, false, true, false},
        // In play only a left press does anything.
        {Playing, Left, true, Playing, false, false, true},
        {Playing, Middle, true, Playing, false, false, false},
        {Playing, Right, true, Playing, false, false, false},
        // Releases never do.
        {Title, Left, false, Title, false, false, false},
        {Instructions, Right, false, Instructions, false, false, false},
        {Playing, Left, false, Playing, false, false, false},
        {Won, Middle, false, Won, false, false, false},
    };
    for (const Case& c : cases) {
        const ButtonOutcome outcome = routeButton(c.screen, c.button == Left, c.pressed);
        SCOPED_TRACE(testing::Message() << "screen " << c.screen << " button " << c.button
                                        << (c.pressed ? " press" : " release"));
        EXPECT_EQ(outcome.nextScreen, c.next);
        EXPECT_EQ(outcome.clearBuffers, c.clear);
        EXPECT_EQ(outcome.restart, c.restart);
        EXPECT_EQ(outcome.toHand, c.toHand);
    }
}
