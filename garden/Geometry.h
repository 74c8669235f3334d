#pragma once

// Squared distance between two world points, in double precision.
double distanceSquared(double ax, double ay, double bx, double by);
double distance(double ax, double ay, double bx, double by);
