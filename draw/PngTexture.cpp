#include "draw/PngTexture.h"

#include "app/AssetFile.h"

#include <GL/gl.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Largest file read, in bytes: far above any picture of pngMaxSide texels
// that a real encoder writes, and small enough to hold in memory.
constexpr std::size_t maxFileBytes = 64u * 1024u * 1024u;
// Largest ancillary chunk libpng may allocate, in bytes (text, profiles).
constexpr png_alloc_size_t maxChunkBytes = 1024u * 1024u;
// Gamma assumed for a file without a gAMA or sRGB chunk.
constexpr double defaultFileGamma = 0.45455;
// Working buffers up to this size, in bytes, are kept for the next picture,
// since a planting loads nine in a row; larger ones are given back.
constexpr std::size_t keptBufferBytes = 4u * 1024u * 1024u;
// Screen gammas outside this range are ignored: libpng refuses them.
constexpr double minScreenGamma = 0.01;
constexpr double maxScreenGamma = 100.0;

// The file's bytes and how far libpng has read them.
struct MemorySource {
    const unsigned char* data = nullptr;
    std::size_t size = 0;   // bytes
    std::size_t read = 0;   // bytes handed to libpng so far
};

// A decoded picture: 8-bit RGB or RGBA, rows top first, tightly packed.
struct Picture {
    unsigned width = 0;     // texels
    unsigned height = 0;    // texels
    unsigned channels = 0;  // 3 or 4
    std::vector<unsigned char> pixels;
    std::vector<png_bytep> rows;
    std::vector<unsigned char> level;  // the mipmap level being made
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

[[noreturn]] void onPngError(png_structp png, png_const_charp) {
    std::longjmp(png_jmpbuf(png), 1);
}

void onPngWarning(png_structp, png_const_charp) {}

void readFromMemory(png_structp png, png_bytep out, png_size_t count) {
    MemorySource* source = static_cast<MemorySource*>(png_get_io_ptr(png));
    if (count > source->size - source->read) {
        png_error(png, "truncated");
    }
    std::memcpy(out, source->data + source->read, count);
    source->read += count;
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

// Decodes the file into `picture`. libpng leaves by longjmp on any fault, so
// every object with a destructor lives in the caller's frame, not here.
bool decode(MemorySource& source, double gamma, Picture& picture) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, onPngError, onPngWarning);
    if (png == nullptr) {
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }

    png_set_user_limits(png, pngMaxSide, pngMaxSide);
    png_set_chunk_malloc_max(png, maxChunkBytes);
    png_set_read_fn(png, &source, readFromMemory);
    // The chunk CRCs already guard the data; zlib's own checksum only costs time.
    png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(png, info);

    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (width == 0 || height == 0 || width > pngMaxSide || height > pngMaxSide) {
        png_error(png, "size");
    }

    const bool hasTransparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        png_set_palette_to_rgb(png);
    }
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) {
        png_set_expand_gray_1_2_4_to_8(png);
    }
    if (hasTransparency) {
        png_set_tRNS_to_alpha(png);
    }
    if (bitDepth == 16) {
        png_set_scale_16(png);
    }
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) {
        png_set_gray_to_rgb(png);
    }
    if (gamma > 0.0) {
        double fileGamma = 0.0;
        if (png_get_gAMA(png, info, &fileGamma) == 0 || fileGamma <= 0.0) {
            fileGamma = defaultFileGamma;
        }
        png_set_gamma(png, gamma, fileGamma);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    const unsigned channels = png_get_channels(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if ((channels != 3 && channels != 4) || rowBytes != std::size_t(width) * channels) {
        png_error(png, "layout");
    }
    bool allocated = true;
    try {
        picture.pixels.resize(rowBytes * height);
        picture.rows.resize(height);
    } catch (const std::bad_alloc&) {
        allocated = false;
    }
    if (!allocated) {
        png_error(png, "memory");
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        picture.rows[y] = picture.pixels.data() + std::size_t(y) * rowBytes;
    }
    png_read_image(png, picture.rows.data());
    png_destroy_read_struct(&png, &info, nullptr);

    picture.width = width;
    picture.height = height;
    picture.channels = channels;
    return true;
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
    const GLenum format = picture.channels == 4 ? GL_RGBA : GL_RGB;
    unsigned width = picture.width;
    unsigned height = picture.height;
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), GLsizei(width), GLsizei(height), 0, format,
                 GL_UNSIGNED_BYTE, picture.pixels.data());
    const std::vector<unsigned char>* source = &picture.pixels;
    for (GLint index = 1; width > 1 || height > 1; ++index) {
        halve(*source, width, height, picture.channels, picture.level);
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
        glTexImage2D(GL_TEXTURE_2D, index, GLint(format), GLsizei(width), GLsizei(height), 0, format,
                     GL_UNSIGNED_BYTE, picture.level.data());
        // The level just made is the source of the next one.
        picture.pixels.swap(picture.level);
        source = &picture.pixels;
    }
}

}  // namespace

unsigned pngBind(const char* path, int wrap, int minFilter, int magFilter) {
    Scratch& buffers = scratch();
    std::vector<unsigned char>& file = buffers.file;
    Picture& picture = buffers.picture;
    const bool read = AssetFile::read(path, maxFileBytes, file) && file.size() >= 8 &&
                      png_sig_cmp(file.data(), 0, 8) == 0;
    MemorySource source;
    source.data = file.data();
    source.size = file.size();
    const bool decoded = read && decode(source, screenGamma(), picture);
    giveBackIfLarge(file);
    if (!decoded) {
        giveBackIfLarge(picture.pixels);
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
    giveBackIfLarge(picture.pixels);
    giveBackIfLarge(picture.level);
    return texture;
}
