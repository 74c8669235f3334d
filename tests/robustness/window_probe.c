/* Looks at a window's pixels straight from the X server, far quicker than a
 * screenshot tool on a busy machine.
 *   window_probe WINDOW wait-drawn SECONDS            until the game has drawn (not all black)
 *   window_probe WINDOW hash                          a hash of every pixel
 *   window_probe WINDOW pixel X Y                     "r g b" at a pixel
 *   window_probe WINDOW wait-change HASH SECONDS      until the hash differs
 *   window_probe WINDOW wait-pixel X Y R G B SECONDS  until the pixel is within 10
 * The waits exit 0 when it happened, 1 on time-out, printing what they saw. */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static Display* display;
static Window window;

/* A window that is being mapped, moved or destroyed refuses a grab now and
 * then: that grab counts as no picture, and the caller tries again. */
static int ignoreError(Display* d, XErrorEvent* e) {
    (void)d;
    (void)e;
    return 0;
}

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

static void pause20ms(void) {
    const struct timespec t = {0, 20 * 1000 * 1000};
    nanosleep(&t, NULL);
}

/* The window's image, or NULL when it is gone or not viewable. */
static XImage* grab(void) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.map_state != IsViewable) {
        return NULL;
    }
    XImage* image = XGetImage(display, window, 0, 0, (unsigned)attributes.width,
                              (unsigned)attributes.height, AllPlanes, ZPixmap);
    XSync(display, False);
    return image;
}

/* Grabs until a picture comes, for at most two seconds. */
static XImage* grabSoon(void) {
    for (int tries = 0; tries < 100; ++tries) {
        XImage* image = grab();
        if (image != NULL) {
            return image;
        }
        pause20ms();
    }
    return NULL;
}

static int drawn(XImage* image) {
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            if ((XGetPixel(image, x, y) & 0xffffffu) != 0) {
                return 1;
            }
        }
    }
    return 0;
}

static unsigned long long hashOf(XImage* image) {
    unsigned long long hash = 1469598103934665603ull; /* FNV-1a, 64 bits */
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            hash = (hash ^ (XGetPixel(image, x, y) & 0xffffffu)) * 1099511628211ull;
        }
    }
    return hash;
}

static int pixelOf(XImage* image, int x, int y, int rgb[3]) {
    if (x < 0 || y < 0 || x >= image->width || y >= image->height) {
        return 0;
    }
    const unsigned long p = XGetPixel(image, x, y);
    rgb[0] = (int)((p >> 16) & 0xff);
    rgb[1] = (int)((p >> 8) & 0xff);
    rgb[2] = (int)(p & 0xff);
    return 1;
}

static int usage(void) {
    fprintf(stderr, "usage: window_probe WINDOW wait-drawn SECONDS | hash | pixel X Y |"
                    " wait-change HASH SECONDS |"
                    " wait-pixel X Y R G B SECONDS\n");
    return 2;
}

int main(int argc, char** argv) {
    if (argc < 3) {
        return usage();
    }
    display = XOpenDisplay(NULL);
    if (display == NULL) {
        fprintf(stderr, "window_probe: no display\n");
        return 2;
    }
    XSetErrorHandler(ignoreError);
    window = (Window)strtoul(argv[1], NULL, 0);
    const char* what = argv[2];
    if (strcmp(what, "wait-drawn") == 0 && argc == 4) {
        const double end = now() + atof(argv[3]);
        do {
            XImage* image = grab();
            if (image != NULL) {
                const int done = drawn(image);
                XDestroyImage(image);
                if (done) {
                    return 0;
                }
            }
            pause20ms();
        } while (now() < end);
        return 1;
    }
    if (strcmp(what, "hash") == 0 && argc == 3) {
        XImage* image = grabSoon();
        if (image == NULL) {
            return 1;
        }
        printf("%016llx\n", hashOf(image));
        XDestroyImage(image);
        return 0;
    }
    if (strcmp(what, "pixel") == 0 && argc == 5) {
        int rgb[3];
        XImage* image = grabSoon();
        if (image == NULL) {
            return 1;
        }
        const int inside = pixelOf(image, atoi(argv[3]), atoi(argv[4]), rgb);
        XDestroyImage(image);
        if (!inside) {
            return 1;
        }
        printf("%d %d %d\n", rgb[0], rgb[1], rgb[2]);
        return 0;
    }
    if (strcmp(what, "wait-change") == 0 && argc == 5) {
        const unsigned long long before = strtoull(argv[3], NULL, 16);
        const double end = now() + atof(argv[4]);
        unsigned long long seen = before;
        do {
            XImage* image = grab();
            if (image != NULL) {
                seen = hashOf(image);
                XDestroyImage(image);
                if (seen != before) {
                    printf("%016llx\n", seen);
                    return 0;
                }
            }
            pause20ms();
        } while (now() < end);
        printf("%016llx\n", seen);
        return 1;
    }
    if (strcmp(what, "wait-pixel") == 0 && argc == 9) {
        const int x = atoi(argv[3]);
        const int y = atoi(argv[4]);
        const int want[3] = {atoi(argv[5]), atoi(argv[6]), atoi(argv[7])};
        const double end = now() + atof(argv[8]);
        int rgb[3] = {-1, -1, -1};
        do {
            XImage* image = grab();
            if (image != NULL && pixelOf(image, x, y, rgb)) {
                XDestroyImage(image);
                if (abs(rgb[0] - want[0]) <= 10 && abs(rgb[1] - want[1]) <= 10 && abs(rgb[2] - want[2]) <= 10) {
                    printf("%d %d %d\n", rgb[0], rgb[1], rgb[2]);
                    return 0;
                }
            } else if (image != NULL) {
                XDestroyImage(image);
            }
            pause20ms();
        } while (now() < end);
        printf("%d %d %d\n", rgb[0], rgb[1], rgb[2]);
        return 1;
    }
    return usage();
}
