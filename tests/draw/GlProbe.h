#pragma once

#include <GL/gl.h>

#include <functional>
#include <vector>

// Test helpers that look at what OpenGL really drew: pixels read back from
// the test window, textures read back level by level, and GL feedback.

// An orthographic view in which the world rectangle (left..right,
// bottom..top) fills the 800 x 600 test window; identity modelview.
void viewWorld(double left, double right, double bottom, double top);

// Clears the window to a colour (and depth to 1).
void clearTo(float red, float green, float blue);

// The colour of one window pixel, counted from the bottom left, as 0..255.
struct Rgba {
    int r = 0;
    int g = 0;
    int b = 0;
    int a = 0;
};
Rgba pixelAt(int x, int y);
bool near(const Rgba& got, const Rgba& want, int tolerance);

// One level of a texture read back as 8-bit RGBA.
struct TextureLevel {
    int width = 0;
    int height = 0;
    GLint internalFormat = 0;
    std::vector<unsigned char> rgba;
    Rgba at(int x, int y) const;  // y counted from row 0, the file's top row
};
TextureLevel readTexture(GLuint texture, int level);

// What feedback mode returned: polygons (as the triangles or fans the driver
// made of them), points and pass-through markers, in order. Coordinates are
// turned back into world units of the current viewWorld.
struct FeedbackVertex {
    double x = 0.0;
    double y = 0.0;
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};
struct FeedbackItem {
    GLenum token = 0;  // GL_POLYGON_TOKEN, GL_POINT_TOKEN, GL_PASS_THROUGH_TOKEN, ...
    float marker = 0.0f;  // the pass-through value
    std::vector<FeedbackVertex> vertices;
};
std::vector<FeedbackItem> captureFeedback(const std::function<void()>& draw);

// Signed area of a polygon in world units (positive when counter-clockwise).
double signedArea(const FeedbackItem& polygon);

// The live GL objects: names for which glIsList or glIsTexture is true.
int liveLists();
int liveTextures();
