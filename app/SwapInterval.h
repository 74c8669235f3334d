#pragma once

// Asks the driver to pace buffer swaps by the display (interval 1) where it
// offers a swap-control extension, so a desktop frame loop doesn't keep a core
// busy. Returns whether an extension took the request.
class SwapInterval {
public:
    static bool request(int interval);
};
