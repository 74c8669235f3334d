#include "garden/Geometry.h"

#include <cmath>

double distanceSquared(double ax, double ay, double bx, double by)
{
    const double dy = ay - by;
    const double dx = ax - bx;
    return dy * dy + dx * dx;
}

double distance(double ax, double ay, double bx, double by)
{
    return std::sqrt(distanceSquared(ax, ay, bx, by));
}
