#pragma once

// A number in 0..n-1 (0 when n <= 0) from the standard generator, which the
// first call of the process seeds once from the calendar time.
int randomBelow(int n);

// True once randomBelow has seeded the generator; a test that wants a known
// sequence calls srand itself after this is true.
bool randomSeeded();
