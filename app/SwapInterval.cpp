#include "app/SwapInterval.h"

#include <GL/glx.h>
#include <cstring>

namespace {

bool hasExtension(const char* list, const char* name) {
    if (list == nullptr) {
        return false;
    }
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr; at = std::strstr(at + 1, name)) {
        const bool startsWord = at == list || at[-1] == ' ';
        const bool endsWord = at[length] == ' ' || at[length] == '\0';
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool SwapInterval::request(int interval) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (display == nullptr || drawable == 0) {
        return false;
    }
    const char* extensions = glXQueryExtensionsString(display, DefaultScreen(display));
    if (hasExtension(extensions, "GLX_EXT_swap_control")) {
        using SwapFn = void (*)(Display*, GLXDrawable, int);
        auto swap = reinterpret_cast<SwapFn>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swap != nullptr) {
            swap(display, drawable, interval);
            return true;
        }
    }
    if (hasExtension(extensions, "GLX_MESA_swap_control")) {
        using SwapFn = int (*)(unsigned int);
        auto swap = reinterpret_cast<SwapFn>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swap != nullptr) {
            return swap(static_cast<unsigned int>(interval)) == 0;
        }
    }
    return false;
}
