#include "app/FrameClock.h"

#include <cstdint>

FrameStep frameStep(int lastTick, int nowTick) {
    const std::uint32_t d = static_cast<std::uint32_t>(nowTick) - static_cast<std::uint32_t>(lastTick);
    FrameStep step;
    step.seconds = d * 0.001;
    if (step.seconds > 0.12) {
        step.seconds = 0.12;
        step.clamped = true;
    }
    return step;
}
