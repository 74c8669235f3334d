#pragma once

// The frame clock's rule: the time between two ticks of the GLUT clock.
struct FrameStep {
    double seconds = 0.0;  // time step, seconds, at most 0.12
    bool clamped = false;  // the step was capped; that frame starts from cleared buffers
};

// lastTick, nowTick: milliseconds. The difference is read modulo 2^32 as
// unsigned, so a clock running backwards gives a huge step that is clamped.
FrameStep frameStep(int lastTick, int nowTick);
