/* Test shim, preloaded into the game: the calendar clock reads
 * BLOOMCROSS_FIXED_TIME, so the breeding draws seeded from it repeat. */
#include <stdlib.h>
#include <time.h>

time_t time(time_t* out) {
    const char* fixed = getenv("BLOOMCROSS_FIXED_TIME");
    const time_t now = fixed != NULL ? (time_t)strtoll(fixed, NULL, 10) : (time_t)0;
    if (out != NULL) {
        *out = now;
    }
    return now;
}
