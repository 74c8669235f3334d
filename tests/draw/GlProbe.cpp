#include "draw/GlProbe.h"

#include "support/GlTestMain.h"

#include <cstdlib>

namespace {

struct WorldView {
    double left = 0.0;
    double right = glTestWidth;
    double bottom = 0.0;
    double top = glTestHeight;
} view;

double worldX(double windowX) {
    return view.left + windowX / glTestWidth * (view.right - view.left);
}

double worldY(double windowY) {
    return view.bottom + windowY / glTestHeight * (view.top - view.bottom);
}

// Upper end of the names to scan for live objects, a little past the newest.
GLuint newestName() {
    const GLuint list = glGenLists(1);
    glDeleteLists(list, 1);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glDeleteTextures(1, &texture);
    return (list > texture ? list : texture) + 16;
}

}  // namespace

void viewWorld(double left, double right, double bottom, double top) {
    view = WorldView{left, right, bottom, top};
    glViewport(0, 0, glTestWidth, glTestHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void clearTo(float red, float green, float blue) {
    glClearColor(red, green, blue, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Rgba pixelAt(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

bool near(const Rgba& got, const Rgba& want, int tolerance) {
    return std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
           std::abs(got.b - want.b) <= tolerance && std::abs(got.a - want.a) <= tolerance;
}

Rgba TextureLevel::at(int x, int y) const {
    const std::size_t i = (std::size_t(y) * std::size_t(width) + std::size_t(x)) * 4;
    return Rgba{rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
}

TextureLevel readTexture(GLuint texture, int level) {
    TextureLevel result;
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_WIDTH, &result.width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_HEIGHT, &result.height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, GL_TEXTURE_INTERNAL_FORMAT, &result.internalFormat);
    result.rgba.assign(std::size_t(result.width) * std::size_t(result.height) * 4, 0);
    if (!result.rgba.empty()) {
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, level, GL_RGBA, GL_UNSIGNED_BYTE, result.rgba.data());
    }
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
    return result;
}

std::vector<FeedbackItem> captureFeedback(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 16, 0.0f);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint count = glRenderMode(GL_RENDER);

    std::vector<FeedbackItem> items;
    GLint i = 0;
    auto vertex = [&]() {
        FeedbackVertex v;
        v.x = worldX(buffer[std::size_t(i)]);
        v.y = worldY(buffer[std::size_t(i) + 1]);
        for (int c = 0; c < 4; ++c) {
            v.color[c] = buffer[std::size_t(i) + 3 + std::size_t(c)];
        }
        i += 7;
        return v;
    };
    while (i < count) {
        FeedbackItem item;
        item.token = GLenum(buffer[std::size_t(i++)]);
        int vertices = 0;
        switch (item.token) {
            case GL_PASS_THROUGH_TOKEN:
                item.marker = buffer[std::size_t(i++)];
                break;
            case GL_POLYGON_TOKEN:
                vertices = int(buffer[std::size_t(i++)]);
                break;
            case GL_LINE_TOKEN:
            case GL_LINE_RESET_TOKEN:
                vertices = 2;
                break;
            default:  // points, bitmaps and pixel rectangles carry one vertex
                vertices = 1;
                break;
        }
        for (int v = 0; v < vertices; ++v) {
            item.vertices.push_back(vertex());
        }
        items.push_back(item);
    }
    return items;
}

double signedArea(const FeedbackItem& polygon) {
    double twice = 0.0;
    const std::size_t n = polygon.vertices.size();
    for (std::size_t k = 0; k < n; ++k) {
        const FeedbackVertex& a = polygon.vertices[k];
        const FeedbackVertex& b = polygon.vertices[(k + 1) % n];
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2.0;
}

int liveLists() {
    int live = 0;
    const GLuint end = newestName();
    for (GLuint name = 1; name < end; ++name) {
        live += glIsList(name) ? 1 : 0;
    }
    return live;
}

int liveTextures() {
    int live = 0;
    const GLuint end = newestName();
    for (GLuint name = 1; name < end; ++name) {
        live += glIsTexture(name) ? 1 : 0;
    }
    return live;
}
