#include "draw/PngTexture.h"

#include "app/AssetFile.h"
#include "draw/PngDecoder.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

// Largest file read, in bytes: twice a 16-bit RGBA picture of pngMaxTexels
// stored without compression, and small enough to hold in memory.
constexpr std::size_t maxFileBytes = 16u * 1024u * 1024u;
// Working buffers up to this size, in bytes, are kept for the next picture,
// since a planting loads nine in a row; larger ones are given back.
constexpr std::size_t keptBufferBytes = 4u * 1024u * 1024u;
// Screen gammas outside this range are ignored: libpng refuses them.
constexpr double minScreenGamma = 0.01;
constexpr double maxScreenGamma = 100.0;

// A picture being uploaded, and the mipmap level being made from it.
struct Picture {
    PngPicture decoded;
    std::vector<unsigned char> level;
};

// The buffers of the last picture, reused so that loading a picture does not
// fault in fresh pages every time.
struct Scratch {
    std::vector<unsigned char> file;
    Picture picture;
};

Scratch& scratch() {
    static Scratch buffers;
    return buffers;
}

void giveBackIfLarge(std::vector<unsigned char>& buffer) {
    if (buffer.capacity() > keptBufferBytes) {
        std::vector<unsigned char>().swap(buffer);
    }
}

// The screen gamma from VIEWING_GAMMA, or 0 for no correction.
double screenGamma() {
    const char* text = std::getenv("VIEWING_GAMMA");
    if (text == nullptr || *text == '\0') {
        return 0.0;
    }
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !std::isfinite(value) || value < minScreenGamma ||
        value > maxScreenGamma) {
        return 0.0;
    }
    return value;
}

// The next mipmap level: each texel the mean of a 2 x 2 block of the level
// above (an odd last row or column is left out, a side of 1 stays 1).
template <unsigned channels>
void halveTexels(const unsigned char* source, unsigned width, unsigned height, unsigned char* result) {
    const unsigned halfWidth = std::max(1u, width / 2);
    const unsigned halfHeight = std::max(1u, height / 2);
    const unsigned right = width > 1 ? channels : 0;  // step to the second column of a block
    for (unsigned y = 0; y < halfHeight; ++y) {
        const unsigned char* row0 = source + std::size_t(2 * y) * width * channels;
        const unsigned char* row1 = height > 1 ? row0 + std::size_t(width) * channels : row0;
        unsigned char* out = result + std::size_t(y) * halfWidth * channels;
        for (unsigned x = 0; x < halfWidth; ++x) {
            const unsigned char* a = row0 + 2 * x * channels;
            const unsigned char* b = row1 + 2 * x * channels;
            for (unsigned c = 0; c < channels; ++c) {
                const unsigned sum = a[c] + a[c + right] + b[c] + b[c + right];
                out[x * channels + c] = static_cast<unsigned char>((sum + 2) / 4);
            }
        }
    }
}

void halve(const std::vector<unsigned char>& source, unsigned width, unsigned height, unsigned channels,
           std::vector<unsigned char>& result) {
    result.resize(std::size_t(std::max(1u, width / 2)) * std::max(1u, height / 2) * channels);
    if (channels == 4) {
        halveTexels<4>(source.data(), width, height, result.data());
    } else {
        halveTexels<3>(source.data(), width, height, result.data());
    }
}

// Uploads the picture and all its mipmap levels into the bound texture,
// halving in place level by level.
void uploadLevels(Picture& picture) {
    PngPicture& decoded = picture.decoded;
    const GLenum format = decoded.channels == 4 ? GL_RGBA : GL_RGB;
    unsigned width = decoded.width;
    unsigned height = decoded.height;
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), GLsizei(width), GLsizei(height), 0, format,
                 GL_UNSIGNED_BYTE, decoded.pixels.data());
    const std::vector<unsigned char>* source = &decoded.pixels;
    for (GLint index = 1; width > 1 || height > 1; ++index) {
        halve(*source, width, height, decoded.channels, picture.level);
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
        glTexImage2D(GL_TEXTURE_2D, index, GLint(format), GLsizei(width), GLsizei(height), 0, format,
                     GL_UNSIGNED_BYTE, picture.level.data());
        // The level just made is the source of the next one.
        decoded.pixels.swap(picture.level);
        source = &decoded.pixels;
    }
}

}  // namespace

unsigned pngBind(const char* path, int wrap, int minFilter, int magFilter) {
    Scratch& buffers = scratch();
    std::vector<unsigned char>& file = buffers.file;
    Picture& picture = buffers.picture;
    const bool decoded =
        AssetFile::read(path, maxFileBytes, file) && decodePng(file, screenGamma(), picture.decoded);
    giveBackIfLarge(file);
    if (!decoded) {
        giveBackIfLarge(picture.decoded.pixels);
        return 0;
    }

    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    // A mipmap filter while the levels go in lets the driver lay out the
    // whole chain at once instead of moving it level by level.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, magFilter);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
        glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
        uploadLevels(picture);
    glPopClientAttrib();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glBindTexture(GL_TEXTURE_2D, GLuint(previous));
    giveBackIfLarge(picture.decoded.pixels);
    giveBackIfLarge(picture.level);
    return texture;
}
