#include "text/GlyphFont.h"

#include "support/GlTestMain.h"

#include <GL/gl.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

const char* const dejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const openFailed = "FT_New_Face failed (there is probably a problem with your font file)";
const char* const loadFailed = "FT_Load_Glyph failed";

// What FreeType itself renders for one code: the picture the texture and
// the quad must reproduce.
struct ReferenceGlyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    long advance = 0;  // 26.6
    std::vector<unsigned char> gray;  // width * rows, top row first
};

ReferenceGlyph referenceGlyph(int size, unsigned long code) {
    ReferenceGlyph ref;
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    FT_Init_FreeType(&library);
    FT_New_Face(library, dejaVu, 0, &face);
    FT_Set_Char_Size(face, size * 64, size * 64, 96, 96);
    FT_Load_Glyph(face, FT_Get_Char_Index(face, code), FT_LOAD_DEFAULT);
    FT_Glyph glyph = nullptr;
    FT_Get_Glyph(face->glyph, &glyph);
    FT_Glyph_To_Bitmap(&glyph, FT_RENDER_MODE_NORMAL, nullptr, 1);
    const FT_BitmapGlyph bitmap = reinterpret_cast<FT_BitmapGlyph>(glyph);
    ref.left = bitmap->left;
    ref.top = bitmap->top;
    ref.width = static_cast<int>(bitmap->bitmap.width);
    ref.rows = static_cast<int>(bitmap->bitmap.rows);
    ref.advance = face->glyph->advance.x;
    for (int y = 0; y < ref.rows; ++y) {
        const unsigned char* row = bitmap->bitmap.buffer + y * bitmap->bitmap.pitch;
        ref.gray.insert(ref.gray.end(), row, row + ref.width);
    }
    FT_Done_Glyph(glyph);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return ref;
}

void buildDejaVu(int size) {
    ASSERT_NO_THROW(GlyphFont::instance()->build(dejaVu, size));
}

TEST(GlyphFontSizes, TextureSideIsTheNextPowerOfTwoAtLeastOne) {
    const int cases[][2] = {{0, 1}, {1, 1}, {2, 2}, {3, 4}, {5, 8}, {8, 8}, {9, 16}, {42, 64}, {64, 64}, {65, 128}};
    for (const auto& c : cases) {
        EXPECT_EQ(GlyphFont::textureSide(c[0]), c[1]) << c[0] << " pixels";
    }
}

TEST(GlyphFontSizes, PenAdvanceRoundsDownToWholePixels) {
    const long cases[][2] = {{1000, 15}, {64, 1}, {63, 0}, {0, 0}, {-1, -1}, {-1000, -16}};
    for (const auto& c : cases) {
        EXPECT_EQ(GlyphFont::penAdvance(c[0]), c[1]) << c[0] << " in 26.6";
    }
}

TEST(GlyphFontBuild, MakesOneListAndOneTexturePerCodeAndLeavesTheGlStateAlone) {
    GLuint before = 0;
    glGenTextures(1, &before);
    glBindTexture(GL_TEXTURE_2D, before);
    buildDejaVu(46);
    const GlyphFont* font = GlyphFont::instance();

    EXPECT_EQ(font->height(), 46.0f);
    ASSERT_NE(font->textures(), nullptr);
    std::vector<unsigned int> names(font->textures(), font->textures() + GlyphFont::glyphCount);
    for (int code = 0; code < GlyphFont::glyphCount; ++code) {
        EXPECT_TRUE(glIsList(font->listBase() + code)) << code;
        EXPECT_TRUE(glIsTexture(names[code])) << code;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(std::unique(names.begin(), names.end()), names.end()) << "every code has a texture of its own";

    GLint bound = 0;
    GLint alignment = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(static_cast<GLuint>(bound), before);
    EXPECT_EQ(alignment, 4);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glBindTexture(GL_TEXTURE_2D, 0);
}

struct GlyphCase {
    int size;  // points
    char code;
};

void PrintTo(const GlyphCase& c, std::ostream* out) { *out << "'" << c.code << "' at " << c.size; }

class GlyphPictures : public ::testing::TestWithParam<GlyphCase> {};

// The texture holds FreeType's coverage in both bytes of every texel, top
// row first, zero beyond the bitmap; its sides are the next powers of two.
TEST_P(GlyphPictures, TextureHoldsTheBitmapInAPowerOfTwoSquare) {
    const GlyphCase c = GetParam();
    buildDejaVu(c.size);
    const ReferenceGlyph ref = referenceGlyph(c.size, static_cast<unsigned char>(c.code));
    const int w = GlyphFont::textureSide(ref.width);
    const int h = GlyphFont::textureSide(ref.rows);

    glBindTexture(GL_TEXTURE_2D, GlyphFont::instance()->textures()[static_cast<unsigned char>(c.code)]);
    GLint width = 0;
    GLint height = 0;
    GLint internalFormat = 0;
    GLint magFilter = 0;
    GLint minFilter = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internalFormat);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(width, w);
    EXPECT_EQ(height, h);
    EXPECT_EQ(internalFormat, GL_RGBA);
    EXPECT_EQ(magFilter, GL_LINEAR);
    EXPECT_EQ(minFilter, GL_LINEAR);

    std::vector<unsigned char> texels(static_cast<std::size_t>(w) * h * 4, 7);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glPopClientAttrib();
    glBindTexture(GL_TEXTURE_2D, 0);
    int wrong = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned char g = (x < ref.width && y < ref.rows) ? ref.gray[y * ref.width + x] : 0;
            const unsigned char* texel = &texels[(static_cast<std::size_t>(y) * w + x) * 4];
            wrong += (texel[0] != g || texel[1] != g || texel[2] != g || texel[3] != g) ? 1 : 0;
        }
    }
    EXPECT_EQ(wrong, 0) << "of " << w * h << " texels";
}

// 'A' and the missing-glyph box (code 1) are pictures; a space is empty;
// '|' at 7 points is one pixel wide, so its texture rows are only two bytes.
INSTANTIATE_TEST_SUITE_P(Codes, GlyphPictures,
                         ::testing::Values(GlyphCase{46, 'A'}, GlyphCase{46, '\1'}, GlyphCase{46, ' '},
                                           GlyphCase{7, '|'}),
                         [](const ::testing::TestParamInfo<GlyphCase>& info) {
                             return "code" + std::to_string(static_cast<int>(info.param.code)) + "at" +
                                    std::to_string(info.param.size);
                         });

// One vertex of feedback in GL_3D_COLOR_TEXTURE: window position, colour, texture coordinate.
struct FeedbackVertex {
    float x, y, z;
    float r, g, b, a;
    float s, t, p, q;
};

// Calls the list of `code` with the pen at window pixel (200, 200) and
// returns the vertices of the polygons it drew.
std::vector<FeedbackVertex> drawnVertices(unsigned char code) {
    std::vector<GLfloat> buffer(4096, 0.0f);
    glPushAttrib(GL_VIEWPORT_BIT | GL_TRANSFORM_BIT);
        glViewport(0, 0, glTestWidth, glTestHeight);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
            glLoadIdentity();
            glOrtho(0.0, glTestWidth, 0.0, glTestHeight, -1.0, 1.0);
            glMatrixMode(GL_MODELVIEW);
            glPushMatrix();
                glLoadIdentity();
                glTranslatef(200.0f, 200.0f, 0.0f);
                glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
                glRenderMode(GL_FEEDBACK);
                glCallList(GlyphFont::instance()->listBase() + code);
                const GLint used = glRenderMode(GL_RENDER);
            glPopMatrix();
            glMatrixMode(GL_PROJECTION);
        glPopMatrix();
    glPopAttrib();
    glBindTexture(GL_TEXTURE_2D, 0);

    std::vector<FeedbackVertex> vertices;
    for (GLint at = 0; at < used;) {
        const GLint token = static_cast<GLint>(buffer[at++]);
        if (token != GL_POLYGON_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            break;
        }
        const GLint count = static_cast<GLint>(buffer[at++]);
        for (GLint v = 0; v < count; ++v, at += 11) {
            FeedbackVertex vertex{};
            std::memcpy(&vertex, &buffer[at], sizeof vertex);
            vertices.push_back(vertex);
        }
    }
    return vertices;
}

// The quad covers the bitmap exactly, from the baseline offsets FreeType
// gives, with the bitmap's top row at the top and only the used part of the
// texture mapped onto it.
TEST(GlyphFontLists, TheQuadCoversTheBitmapWithItsTopRowUp) {
    buildDejaVu(46);
    const ReferenceGlyph ref = referenceGlyph(46, 'A');
    const std::vector<FeedbackVertex> vertices = drawnVertices('A');
    ASSERT_FALSE(vertices.empty());

    const float left = 200.0f + ref.left;
    const float right = left + ref.width;
    const float bottom = 200.0f + ref.top - ref.rows;
    const float top = 200.0f + ref.top;
    const float tx = static_cast<float>(ref.width) / GlyphFont::textureSide(ref.width);
    const float ty = static_cast<float>(ref.rows) / GlyphFont::textureSide(ref.rows);
    for (const FeedbackVertex& v : vertices) {
        // Each corner: x at the left or right edge, with s 0 or tx; y at the
        // top with t 0, or at the bottom with t ty.
        const bool atLeft = std::abs(v.x - left) < 0.01f;
        const bool atTop = std::abs(v.y - top) < 0.01f;
        EXPECT_TRUE(atLeft || std::abs(v.x - right) < 0.01f) << v.x;
        EXPECT_TRUE(atTop || std::abs(v.y - bottom) < 0.01f) << v.y;
        EXPECT_NEAR(v.s, atLeft ? 0.0f : tx, 1e-6f);
        EXPECT_NEAR(v.t, atTop ? 0.0f : ty, 1e-6f);
    }
    GLint bound = 0;
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
        glCallList(GlyphFont::instance()->listBase() + 'A');
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glPopMatrix();
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(static_cast<GLuint>(bound), GlyphFont::instance()->textures()['A']) << "list 65 draws code 65";
}

TEST(GlyphFontLists, ASpaceDrawsNothingVisible) {
    buildDejaVu(46);
    float area = 0.0f;
    const std::vector<FeedbackVertex> vertices = drawnVertices(' ');
    for (std::size_t i = 0; i + 2 < vertices.size(); i += 3) {
        const FeedbackVertex& a = vertices[i];
        const FeedbackVertex& b = vertices[i + 1];
        const FeedbackVertex& c = vertices[i + 2];
        area += std::abs((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y)) / 2.0f;
    }
    EXPECT_EQ(area, 0.0f);
}

// Calling two lists in turn moves the pen by the sum of the two advances and
// leaves no other trace on the modelview matrix.
TEST(GlyphFontLists, ListsMoveThePenByTheirAdvancesOnly) {
    buildDejaVu(46);
    const char pairs[][2] = {{'A', 'i'}, {' ', ' '}, {'W', '.'}, {'\1', 'g'}};
    for (const auto& pair : pairs) {
        const long expected = (referenceGlyph(46, static_cast<unsigned char>(pair[0])).advance >> 6) +
                              (referenceGlyph(46, static_cast<unsigned char>(pair[1])).advance >> 6);
        GLfloat matrix[16] = {};
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
            glLoadIdentity();
            glCallList(GlyphFont::instance()->listBase() + static_cast<unsigned char>(pair[0]));
            glCallList(GlyphFont::instance()->listBase() + static_cast<unsigned char>(pair[1]));
            glGetFloatv(GL_MODELVIEW_MATRIX, matrix);
        glPopMatrix();
        glBindTexture(GL_TEXTURE_2D, 0);
        const GLfloat identityButX[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, static_cast<GLfloat>(expected), 0, 0, 1};
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(matrix[i], identityButX[i]) << "'" << pair[0] << pair[1] << "' element " << i;
        }
    }
}

// A scratch folder of font files for the failure cases.
class FontFolder {
public:
    FontFolder() {
        char pattern[] = "/tmp/bloomcross-font-XXXXXX";
        root_ = mkdtemp(pattern);
    }
    ~FontFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    std::string path(const std::string& name) const { return root_ + "/" + name; }
    std::string write(const std::string& name, const std::vector<unsigned char>& bytes) const {
        std::ofstream out(path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }

private:
    std::string root_;
};

std::vector<unsigned char> dejaVuBytes() {
    std::ifstream in(dejaVu, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t bigEndian32(const std::vector<unsigned char>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}

// Where a table of a TrueType file lies: {offset, length}.
std::pair<std::size_t, std::size_t> tableOf(const std::vector<unsigned char>& font, const char* tag) {
    const std::size_t tables = (std::size_t{font[4]} << 8) | font[5];
    for (std::size_t i = 0; i < tables; ++i) {
        const std::size_t entry = 12 + 16 * i;
        if (std::memcmp(&font[entry], tag, 4) == 0) {
            return {bigEndian32(font, entry + 8), bigEndian32(font, entry + 12)};
        }
    }
    return {0, 0};
}

std::string buildError(const std::string& path) {
    try {
        GlyphFont::instance()->build(path.c_str(), 46);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "no error";
}

TEST(GlyphFontFailures, AFontThatCannotBeOpenedGivesTheOpenMessage) {
    FontFolder folder;
    std::vector<unsigned char> noise(5000);
    unsigned seed = 99u;
    for (unsigned char& b : noise) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<unsigned char>(seed >> 16);
    }
    std::vector<unsigned char> cut = dejaVuBytes();
    cut.resize(tableOf(cut, "glyf").first + 64);
    std::filesystem::create_directory(folder.path("folder.ttf"));
    ASSERT_EQ(mkfifo(folder.path("pipe.ttf").c_str(), 0644), 0);

    const std::string paths[] = {
        folder.path("missing.ttf"),
        folder.write("empty.ttf", {}),
        folder.write("noise.ttf", noise),
        folder.write("cut.ttf", cut),
        folder.path("folder.ttf"),
        folder.path("pipe.ttf"),  // must be refused, not waited on
    };
    for (const std::string& path : paths) {
        EXPECT_EQ(buildError(path), openFailed) << path;
    }
}

// A damaged font can open and still fail on its glyphs.
TEST(GlyphFontFailures, AFontWhoseGlyphsCannotBeLoadedGivesTheLoadMessage) {
    FontFolder folder;
    std::vector<unsigned char> scrambled = dejaVuBytes();
    const auto glyf = tableOf(scrambled, "glyf");
    ASSERT_GT(glyf.second, 0u);
    std::fill(scrambled.begin() + static_cast<long>(glyf.first),
              scrambled.begin() + static_cast<long>(glyf.first + glyf.second), 0x7F);
    std::vector<unsigned char> noGlyphs = dejaVuBytes();
    const auto maxp = tableOf(noGlyphs, "maxp");
    noGlyphs[maxp.first + 4] = 0;  // numGlyphs
    noGlyphs[maxp.first + 5] = 0;

    EXPECT_EQ(buildError(folder.write("scrambled.ttf", scrambled)), loadFailed);
    EXPECT_EQ(buildError(folder.write("no-glyphs.ttf", noGlyphs)), loadFailed);
    EXPECT_EQ(buildError(dejaVu), "no error");
}

}  // namespace
