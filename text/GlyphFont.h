#pragma once

#include <memory>

// Character codes 0 to 127 of a TrueType font rendered once into textures
// and display lists. Calling list listBase() + c draws character c as a
// textured rectangle at the pen and moves the pen right by its advance.
class GlyphFont {
public:
    static constexpr int glyphCount = 128;      // character codes 0..127
    static constexpr int largestGlyphSide = 4096;  // a bitmap wider or taller is taken as empty, pixels

    // The one font, made empty on the first call and never destroyed.
    static GlyphFont* instance();

    // Renders the font file at `path` at `size` points (96 dpi) into the
    // textures and lists. Throws std::runtime_error with FreeType's step in
    // the message when the file can't be opened or a glyph can't be loaded;
    // what was made before the failure stays made. Needs a current GL context.
    void build(const char* path, int size);

    // Side of a glyph texture for a bitmap side of `pixels`: the smallest power of two not below it, at least 1.
    static int textureSide(int pixels);
    // A 26.6 fixed-point advance in whole pixels, rounded down.
    static long penAdvance(long advance26Dot6);

    float height() const { return height_; }
    unsigned int listBase() const { return listBase_; }
    // The 128 texture names, textures()[c] for code c; null before build.
    const unsigned int* textures() const { return textures_.get(); }

    GlyphFont(const GlyphFont&) = delete;
    GlyphFont& operator=(const GlyphFont&) = delete;

private:
    GlyphFont() = default;
    ~GlyphFont() = default;

    float height_ = 0.0f;                      // the size given to build, points
    std::unique_ptr<unsigned int[]> textures_;  // one texture name per code
    unsigned int listBase_ = 0;                // first of the 128 consecutive display lists
};
