#include "garden/Random.h"

#include <cstdlib>
#include <ctime>

namespace {
// Cleared by the first randomBelow of the process; a restart does not seed again.
bool firstCall = true;
}

int randomBelow(int n)
{
    if (firstCall) {
        firstCall = false;
        std::srand(static_cast<unsigned>(std::time(nullptr)));
    }
    if (n <= 0) {
        return 0;
    }
    return std::rand() % n;
}

bool randomSeeded()
{
    return !firstCall;
}
