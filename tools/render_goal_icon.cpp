// Draws the goal flower with the game's own flower drawing and writes it as a
// picture with a transparent background: the goal icon of the play screen.
//
// The flower is a finished one (a straight stem of length 20, so every organ
// has size 1) standing in a 26 x 26 world square, the size the icon covers in
// play. It is drawn three times larger than the picture and scaled down for
// smooth edges, and drawn once on black and once on white: the difference
// between the two gives each texel's coverage exactly, with no need for an
// alpha channel in the window.
//
// Run from the assets folder (the organ pictures are read from ./images/):
//   cd assets && xvfb-run -a render_goal_icon images/target5.png
#include "draw/Sprite.h"
#include "garden/Flower.h"
#include "garden/GoalFlower.h"
#include "garden/StemSegment.h"

#include <GL/freeglut.h>
#include <png.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int iconSide = 256;                   // texels of the written picture
constexpr int oversample = 3;                   // drawn this many times larger
constexpr int drawSide = iconSide * oversample;  // pixels of the window
constexpr float squareSide = 26.0f;             // world units the icon covers
constexpr float stemLength = 20.0f;             // world units: a finished flower
constexpr int stemPieces = 20;                  // recorded points, as a drawn stem has
constexpr float baseLift = 0.27f;               // world units between the square's bottom and the stem

const char* const organFiles[] = {
    "./images/pistil.png", "./images/pistil2.png", "./images/pistil3.png",
    "./images/leaf.png",   "./images/leaf2.png",   "./images/leaf3.png",
    "./images/petal.png",  "./images/petal2.png",  "./images/petal3.png",
};

// The goal flower as the game would have it when finished: a stem made of
// recorded points, with its sizes and width set from the stem's length the
// way growing sets them.
void buildGoalFlower(Flower& flower) {
    flower.setTraits(goalTraits());
    const float step = stemLength / float(stemPieces);
    StemSegment first;
    first.startX = 0.0f;
    first.startY = baseLift;
    first.endX = 0.0f;
    first.endY = baseLift + step;
    first.measure();
    flower.stem.addSegment(first);
    for (int i = 2; i <= stemPieces; ++i) {
        flower.stem.addPoint(0.0f, baseLift + step * float(i));
    }
    flower.stem.recomputeLength();
    const float length = flower.stem.getTotalLength();
    const float size = length * 0.05f;
    flower.setPistilSize(size);
    flower.setLeafSize((size - 0.5f) * 2.0f);
    flower.setPetalSize(size);
    flower.stem.setWidth(length * 0.03f + 0.3f);
}

// One frame of the flower over a plain background; returns the pixels, RGB,
// bottom row first.
std::vector<unsigned char> drawOn(const Flower& flower, float background) {
    glClearColor(background, background, background, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    flower.draw();
    glFinish();
    std::vector<unsigned char> pixels(std::size_t(drawSide) * drawSide * 3, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, drawSide, drawSide, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// Premultiplied colour and coverage, 0..1, of one texel of the picture.
struct Texel {
    double r = 0.0;
    double g = 0.0;
    double b = 0.0;
    double a = 0.0;
};

// Recovers coverage from the black and white frames and averages each
// oversample x oversample block; rows come out top first.
std::vector<Texel> unmix(const std::vector<unsigned char>& onBlack, const std::vector<unsigned char>& onWhite) {
    std::vector<Texel> texels(std::size_t(iconSide) * iconSide);
    const double share = 1.0 / double(oversample * oversample);
    for (int y = 0; y < drawSide; ++y) {
        const int row = iconSide - 1 - y / oversample;
        for (int x = 0; x < drawSide; ++x) {
            const std::size_t p = (std::size_t(y) * drawSide + x) * 3;
            Texel& t = texels[std::size_t(row) * iconSide + x / oversample];
            double through = 0.0;  // how much of the background shows, 0..1
            for (int c = 0; c < 3; ++c) {
                through += (double(onWhite[p + c]) - double(onBlack[p + c])) / 255.0 / 3.0;
            }
            const double a = std::fmin(1.0, std::fmax(0.0, 1.0 - through));
            t.r += double(onBlack[p]) / 255.0 * share;
            t.g += double(onBlack[p + 1]) / 255.0 * share;
            t.b += double(onBlack[p + 2]) / 255.0 * share;
            t.a += a * share;
        }
    }
    return texels;
}

// Straight RGBA bytes. Fully clear texels take the colour of the nearest
// covered ones, so the game's linear filtering shows no dark fringe.
std::vector<unsigned char> straighten(const std::vector<Texel>& texels) {
    const int n = iconSide * iconSide;
    std::vector<double> colour(std::size_t(n) * 3, 0.0);
    std::vector<char> known(std::size_t(n), 0);
    for (int i = 0; i < n; ++i) {
        const Texel& t = texels[std::size_t(i)];
        if (t.a > 1e-4) {
            colour[std::size_t(i) * 3] = std::fmin(1.0, t.r / t.a);
            colour[std::size_t(i) * 3 + 1] = std::fmin(1.0, t.g / t.a);
            colour[std::size_t(i) * 3 + 2] = std::fmin(1.0, t.b / t.a);
            known[std::size_t(i)] = 1;
        }
    }
    for (bool grew = true; grew;) {
        grew = false;
        std::vector<char> next = known;
        for (int y = 0; y < iconSide; ++y) {
            for (int x = 0; x < iconSide; ++x) {
                const int i = y * iconSide + x;
                if (known[std::size_t(i)]) {
                    continue;
                }
                double sum[3] = {0.0, 0.0, 0.0};
                int count = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = x + dx;
                        const int ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= iconSide || ny >= iconSide) {
                            continue;
                        }
                        const int j = ny * iconSide + nx;
                        if (known[std::size_t(j)]) {
                            for (int c = 0; c < 3; ++c) {
                                sum[c] += colour[std::size_t(j) * 3 + c];
                            }
                            ++count;
                        }
                    }
                }
                if (count > 0) {
                    for (int c = 0; c < 3; ++c) {
                        colour[std::size_t(i) * 3 + c] = sum[c] / count;
                    }
                    next[std::size_t(i)] = 1;
                    grew = true;
                }
            }
        }
        known.swap(next);
    }
    std::vector<unsigned char> bytes(std::size_t(n) * 4, 0);
    for (int i = 0; i < n; ++i) {
        for (int c = 0; c < 3; ++c) {
            bytes[std::size_t(i) * 4 + c] =
                static_cast<unsigned char>(std::lround(colour[std::size_t(i) * 3 + c] * 255.0));
        }
        bytes[std::size_t(i) * 4 + 3] = static_cast<unsigned char>(std::lround(texels[std::size_t(i)].a * 255.0));
    }
    return bytes;
}

// An 8-bit RGBA PNG with no time, text or colour-space chunks.
bool writePng(const char* path, const std::vector<unsigned char>& rgba) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (png == nullptr || info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, iconSide, iconSide, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < iconSide; ++y) {
        png_write_row(png, rgba.data() + std::size_t(y) * iconSide * 4);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: render_goal_icon OUTPUT.png (run in the assets folder)\n");
        return 2;
    }
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(drawSide, drawSide);
    glutCreateWindow("goal icon");
    glutHideWindow();

    // The game's global state, and a view of exactly the icon's square.
    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glViewport(0, 0, drawSide, drawSide);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-squareSide * 0.5, squareSide * 0.5, 0.0, squareSide, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    // A missing picture would quietly draw a plain square: refuse instead.
    for (const char* path : organFiles) {
        FILE* file = std::fopen(path, "rb");
        if (file == nullptr) {
            std::fprintf(stderr, "render_goal_icon: cannot read %s (run in the assets folder)\n", path);
            return 1;
        }
        std::fclose(file);
    }
    remakeOrganSprites();
    Flower flower;
    buildGoalFlower(flower);

    const std::vector<unsigned char> onBlack = drawOn(flower, 0.0f);
    const std::vector<unsigned char> onWhite = drawOn(flower, 1.0f);
    if (!writePng(argv[1], straighten(unmix(onBlack, onWhite)))) {
        std::fprintf(stderr, "render_goal_icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
