// Built into every program of the sanitizer build that uses the game's
// drawing and sound layers: the game itself, its tests and its benchmark,
// however they are started (by ctest, by a test script, or installed).
// Helper programs of the tests (Xvfb, xdotool, ImageMagick) stay outside.
#include <dlfcn.h>
#include <stdlib.h>

// Any report ends the program with a failure. The end-to-end tests preload a
// clock of their own ahead of the sanitizer runtime, which it then allows.
// The environment variables still override these when set.
extern "C" const char* __asan_default_options() {
    return "halt_on_error=1:detect_leaks=1:strict_string_checks=1:check_initialization_order=1:"
           "verify_asan_link_order=0";
}

extern "C" const char* __ubsan_default_options() {
    return "halt_on_error=1:print_stacktrace=1";
}

// The leaks set aside: only those inside Mesa's GL driver (lsan.supp says why).
extern "C" const char* __lsan_default_options() {
    return "suppressions=" BLOOMCROSS_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

namespace {

struct SanitizerStartUp {
    SanitizerStartUp() {
        // Mesa unloads its driver before the process ends, so the leak check
        // would find the driver's never-freed blocks under no name and could
        // not tell them from the game's own. Loaded here and never unloaded,
        // they keep its name.
        dlopen(BLOOMCROSS_GL_DRIVER, RTLD_LAZY | RTLD_LOCAL | RTLD_NODELETE);
        // With no session bus, as on a test machine, SDL's audio start-up has
        // libdbus try to launch one, and libdbus leaks a buffer when that
        // fails. A player's desktop has a bus; here there is none to find, so
        // libdbus is told so at once instead of being suppressed.
        setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    }
};

const SanitizerStartUp sanitizerStartUp;

}  // namespace
