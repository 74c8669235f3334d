#include "text/GlyphFont.h"

#include "app/AssetFile.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include <GL/gl.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace {

const char* const initFailed = "FT_Init_FreeType failed";
const char* const openFailed = "FT_New_Face failed (there is probably a problem with your font file)";
const char* const loadFailed = "FT_Load_Glyph failed";
const char* const getFailed = "FT_Get_Glyph failed";

constexpr std::size_t maxFontBytes = 32u * 1024u * 1024u;  // largest font file read, bytes
constexpr FT_UInt dotsPerInch = 96;                         // rendering resolution, both ways

// Releases the face and then the library on every way out of build.
struct FreeTypeSession {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeSession() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }
};

// Owns one glyph image of FreeType's until it goes out of scope.
struct GlyphImage {
    FT_Glyph glyph = nullptr;
    ~GlyphImage() {
        if (glyph != nullptr) {
            FT_Done_Glyph(glyph);
        }
    }
};

// A glyph's coverage as 0..255 per pixel, top row first; all zero sizes when
// the glyph has no picture (a space, or a conversion that did not work).
struct GrayGlyph {
    int left = 0;   // bearing from the pen to the bitmap's left edge, pixels
    int top = 0;    // bearing from the baseline up to the bitmap's top row, pixels
    int width = 0;  // pixels
    int rows = 0;   // pixels
    std::vector<unsigned char> gray;  // width * rows levels
};

// Reads a bitmap glyph into gray levels. Anything but an 8-bit gray or a
// 1-bit bitmap of a sane size gives the empty glyph.
GrayGlyph grayOf(FT_Glyph image) {
    GrayGlyph out;
    if (image == nullptr || image->format != FT_GLYPH_FORMAT_BITMAP) {
        return out;
    }
    const FT_BitmapGlyph bitmapGlyph = reinterpret_cast<FT_BitmapGlyph>(image);
    const FT_Bitmap& bitmap = bitmapGlyph->bitmap;
    const int width = static_cast<int>(bitmap.width);
    const int rows = static_cast<int>(bitmap.rows);
    const bool gray = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY;
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    const int stride = std::abs(bitmap.pitch);
    const int rowBytes = gray ? width : (width + 7) / 8;
    if ((!gray && !mono) || width <= 0 || rows <= 0 || width > GlyphFont::largestGlyphSide ||
        rows > GlyphFont::largestGlyphSide || bitmap.buffer == nullptr || stride < rowBytes) {
        return out;
    }
    out.left = bitmapGlyph->left;
    out.top = bitmapGlyph->top;
    out.width = width;
    out.rows = rows;
    out.gray.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), 0);
    for (int y = 0; y < rows; ++y) {
        // A negative pitch stores the rows bottom-up.
        const int storedRow = bitmap.pitch >= 0 ? y : rows - 1 - y;
        const unsigned char* row = bitmap.buffer + static_cast<std::size_t>(storedRow) * stride;
        for (int x = 0; x < width; ++x) {
            const unsigned char level = gray ? row[x] : ((row[x / 8] & (0x80 >> (x % 8))) ? 255 : 0);
            out.gray[static_cast<std::size_t>(y) * width + x] = level;
        }
    }
    return out;
}

// Uploads the glyph into `texture` as W x H luminance-alpha texels, both
// bytes the gray level, zero outside the bitmap.
void uploadTexture(unsigned int texture, const GrayGlyph& glyph, int textureWidth, int textureHeight) {
    std::vector<unsigned char> texels(static_cast<std::size_t>(textureWidth) * textureHeight * 2, 0);
    for (int y = 0; y < glyph.rows; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            const unsigned char level = glyph.gray[static_cast<std::size_t>(y) * glyph.width + x];
            const std::size_t at = (static_cast<std::size_t>(y) * textureWidth + x) * 2;
            texels[at] = level;
            texels[at + 1] = level;
        }
    }
    GLint previousTexture = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previousTexture);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        // Rows of a one-texel-wide glyph are two bytes: read them unpadded.
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, textureWidth, textureHeight, 0, GL_LUMINANCE_ALPHA,
                     GL_UNSIGNED_BYTE, texels.data());
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(previousTexture));
    glPopClientAttrib();
}

// Records the glyph's list: its quad at the pen, then the pen's move. The
// texture binding and the final translation are meant to outlast the list.
void compileList(unsigned int list, unsigned int texture, const GrayGlyph& glyph, int textureWidth,
                 int textureHeight, long advance) {
    const float tx = static_cast<float>(glyph.width) / static_cast<float>(textureWidth);
    const float ty = static_cast<float>(glyph.rows) / static_cast<float>(textureHeight);
    const float width = static_cast<float>(glyph.width);
    const float rows = static_cast<float>(glyph.rows);
    glNewList(list, GL_COMPILE);
        glBindTexture(GL_TEXTURE_2D, texture);
        glPushMatrix();
            glTranslatef(static_cast<float>(glyph.left), 0.0f, 0.0f);
            glTranslatef(0.0f, static_cast<float>(glyph.top - glyph.rows), 0.0f);
            glBegin(GL_QUADS);
                glTexCoord2d(0.0, 0.0);
                glVertex2f(0.0f, rows);
                glTexCoord2d(0.0, ty);
                glVertex2f(0.0f, 0.0f);
                glTexCoord2d(tx, ty);
                glVertex2f(width, 0.0f);
                glTexCoord2d(tx, 0.0);
                glVertex2f(width, rows);
            glEnd();
        glPopMatrix();
        glTranslatef(static_cast<float>(advance), 0.0f, 0.0f);
    glEndList();
}

void makeGlyph(FT_Face face, FT_ULong code, unsigned int texture, unsigned int list) {
    // A code the font lacks maps to glyph 0, its missing-glyph picture.
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (face->num_glyphs <= 0 || FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) {
        throw std::runtime_error(loadFailed);
    }
    GlyphImage image;
    if (FT_Get_Glyph(face->glyph, &image.glyph) != 0) {
        throw std::runtime_error(getFailed);
    }
    // On failure the outline stays in `image` and the glyph is drawn empty.
    FT_Glyph_To_Bitmap(&image.glyph, FT_RENDER_MODE_NORMAL, nullptr, 1);
    const GrayGlyph glyph = grayOf(image.glyph);
    const int textureWidth = GlyphFont::textureSide(glyph.width);
    const int textureHeight = GlyphFont::textureSide(glyph.rows);
    uploadTexture(texture, glyph, textureWidth, textureHeight);
    compileList(list, texture, glyph, textureWidth, textureHeight,
                GlyphFont::penAdvance(static_cast<long>(face->glyph->advance.x)));
}

}  // namespace

GlyphFont* GlyphFont::instance() {
    static GlyphFont* const font = new GlyphFont();
    return font;
}

int GlyphFont::textureSide(int pixels) {
    int side = 1;
    while (side < pixels && side < (1 << 30)) {
        side <<= 1;
    }
    return side;
}

long GlyphFont::penAdvance(long advance26Dot6) {
    return advance26Dot6 >> 6;  // arithmetic shift: a negative advance rounds down too
}

void GlyphFont::build(const char* path, int size) {
    textures_.reset(new unsigned int[glyphCount]());
    height_ = static_cast<float>(size);

    // The font's bytes must outlive the face made from them, so they are
    // declared first and released last.
    std::vector<unsigned char> fontBytes;
    FreeTypeSession freeType;
    if (FT_Init_FreeType(&freeType.library) != 0) {
        freeType.library = nullptr;
        throw std::runtime_error(initFailed);
    }
    if (!AssetFile::read(path, maxFontBytes, fontBytes) || fontBytes.empty() ||
        FT_New_Memory_Face(freeType.library, fontBytes.data(), static_cast<FT_Long>(fontBytes.size()), 0,
                           &freeType.face) != 0) {
        freeType.face = nullptr;
        throw std::runtime_error(openFailed);
    }
    const FT_F26Dot6 charSize = static_cast<FT_F26Dot6>(size) * 64;
    FT_Set_Char_Size(freeType.face, charSize, charSize, dotsPerInch, dotsPerInch);

    listBase_ = glGenLists(glyphCount);
    glGenTextures(glyphCount, textures_.get());
    for (int code = 0; code < glyphCount; ++code) {
        makeGlyph(freeType.face, static_cast<FT_ULong>(code), textures_[code], listBase_ + code);
    }
}
