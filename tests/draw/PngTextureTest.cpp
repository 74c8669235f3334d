#include "draw/PngTexture.h"

#include "draw/GlProbe.h"
#include "draw/PngFixture.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <png.h>

#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

namespace {

unsigned load(const std::string& path) {
    return pngBind(path.c_str(), GL_CLAMP, GL_LINEAR, GL_LINEAR);
}

// Packs samples of `bitDepth` bits into bytes, first sample in the high bits.
std::vector<unsigned char> packed(const std::vector<int>& samples, int bitDepth) {
    std::vector<unsigned char> row;
    if (bitDepth == 16) {
        for (int s : samples) {
            row.push_back(static_cast<unsigned char>(s >> 8));
            row.push_back(static_cast<unsigned char>(s & 0xff));
        }
        return row;
    }
    int bits = 0;
    unsigned accumulated = 0;
    for (int s : samples) {
        accumulated = (accumulated << bitDepth) | unsigned(s);
        bits += bitDepth;
        if (bits == 8) {
            row.push_back(static_cast<unsigned char>(accumulated));
            bits = 0;
            accumulated = 0;
        }
    }
    if (bits > 0) {
        row.push_back(static_cast<unsigned char>(accumulated << (8 - bits)));
    }
    return row;
}

// A picture whose samples per texel come from `sample(x, y)`.
PngFixture picture(int width, int height, int colorType, int bitDepth,
                   const std::function<std::vector<int>(int, int)>& sample) {
    PngFixture f;
    f.width = width;
    f.height = height;
    f.colorType = colorType;
    f.bitDepth = bitDepth;
    for (int y = 0; y < height; ++y) {
        std::vector<int> samples;
        for (int x = 0; x < width; ++x) {
            for (int s : sample(x, y)) {
                samples.push_back(s);
            }
        }
        f.rows.push_back(packed(samples, bitDepth));
    }
    return f;
}

struct GoodCase {
    const char* name;
    std::function<PngFixture()> make;
    GLint internalFormat;                      // GL_RGB or GL_RGBA
    std::function<Rgba(int x, int y)> texel;   // what level 0 holds, y from the top row
};

const unsigned char fourColours[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};

Rgba paletteColour(int index, int alpha) {
    return Rgba{fourColours[index * 3], fourColours[index * 3 + 1], fourColours[index * 3 + 2], alpha};
}

std::vector<GoodCase> goodCases() {
    return {
        {"rgb 3x5 (rows not 4-byte aligned)",
         [] { return picture(3, 5, PNG_COLOR_TYPE_RGB, 8, [](int x, int y) { return std::vector<int>{x * 80, y * 50, 200}; }); },
         GL_RGB, [](int x, int y) { return Rgba{x * 80, y * 50, 200, 255}; }},
        {"rgba 3x5",
         [] { return picture(3, 5, PNG_COLOR_TYPE_RGBA, 8, [](int x, int y) { return std::vector<int>{x * 80, y * 50, 7, x * 100 + y}; }); },
         GL_RGBA, [](int x, int y) { return Rgba{x * 80, y * 50, 7, x * 100 + y}; }},
        {"palette, 2 bits per texel",
         [] {
             PngFixture f = picture(5, 3, PNG_COLOR_TYPE_PALETTE, 2, [](int x, int y) { return std::vector<int>{(x + y) % 4}; });
             f.palette.assign(std::begin(fourColours), std::end(fourColours));
             return f;
         },
         GL_RGB, [](int x, int y) { return paletteColour((x + y) % 4, 255); }},
        {"palette with tRNS",
         [] {
             PngFixture f = picture(4, 4, PNG_COLOR_TYPE_PALETTE, 8, [](int x, int y) { return std::vector<int>{(x + y) % 4}; });
             f.palette.assign(std::begin(fourColours), std::end(fourColours));
             f.paletteAlpha = {0, 128};
             return f;
         },
         GL_RGBA, [](int x, int y) {
             const int i = (x + y) % 4;
             return paletteColour(i, i == 0 ? 0 : i == 1 ? 128 : 255);
         }},
        {"grey, 8 bits",
         [] { return picture(3, 2, PNG_COLOR_TYPE_GRAY, 8, [](int x, int y) { return std::vector<int>{x * 100 + y}; }); },
         GL_RGB, [](int x, int y) { return Rgba{x * 100 + y, x * 100 + y, x * 100 + y, 255}; }},
        {"grey, 1 bit",
         [] { return picture(9, 2, PNG_COLOR_TYPE_GRAY, 1, [](int x, int y) { return std::vector<int>{(x + y) % 2}; }); },
         GL_RGB, [](int x, int y) { const int v = (x + y) % 2 * 255; return Rgba{v, v, v, 255}; }},
        {"grey with tRNS",
         [] {
             PngFixture f = picture(3, 3, PNG_COLOR_TYPE_GRAY, 8, [](int x, int) { return std::vector<int>{x * 60}; });
             f.transparentGrey = 60;
             return f;
         },
         GL_RGBA, [](int x, int) { return Rgba{x * 60, x * 60, x * 60, x == 1 ? 0 : 255}; }},
        {"grey and alpha",
         [] { return picture(3, 5, PNG_COLOR_TYPE_GRAY_ALPHA, 8, [](int x, int y) { return std::vector<int>{x * 90, y * 60}; }); },
         GL_RGBA, [](int x, int y) { return Rgba{x * 90, x * 90, x * 90, y * 60}; }},
        {"rgba, 16 bits",
         [] {
             return picture(3, 5, PNG_COLOR_TYPE_RGBA, 16, [](int x, int y) {
                 return std::vector<int>{x * 0x5050, y * 0x3131, 0xffff, 0x8080};
             });
         },
         GL_RGBA, [](int x, int y) { return Rgba{x * 0x50, y * 0x31, 255, 0x80}; }},
        {"grey, 16 bits",
         [] { return picture(2, 2, PNG_COLOR_TYPE_GRAY, 16, [](int x, int y) { return std::vector<int>{(x + 2 * y) * 0x2121}; }); },
         GL_RGB, [](int x, int y) { const int v = (x + 2 * y) * 0x21; return Rgba{v, v, v, 255}; }},
        {"interlaced rgb 3x5",
         [] {
             PngFixture f = picture(3, 5, PNG_COLOR_TYPE_RGB, 8, [](int x, int y) { return std::vector<int>{x * 80, y * 50, 9}; });
             f.interlaced = true;
             return f;
         },
         GL_RGB, [](int x, int y) { return Rgba{x * 80, y * 50, 9, 255}; }},
        {"interlaced rgba 9x9",
         [] {
             PngFixture f = picture(9, 9, PNG_COLOR_TYPE_RGBA, 8, [](int x, int y) { return std::vector<int>{x * 25, y * 25, x * y, 255 - x}; });
             f.interlaced = true;
             return f;
         },
         GL_RGBA, [](int x, int y) { return Rgba{x * 25, y * 25, x * y, 255 - x}; }},
        {"one texel",
         [] { return picture(1, 1, PNG_COLOR_TYPE_RGB, 8, [](int, int) { return std::vector<int>{1, 2, 3}; }); },
         GL_RGB, [](int, int) { return Rgba{1, 2, 3, 255}; }},
    };
}

class PngTextureTest : public ::testing::Test {
protected:
    std::string folder = makeTempFolder();
};

TEST_F(PngTextureTest, DecodesEveryKindOfPictureTopRowFirst) {
    for (const GoodCase& c : goodCases()) {
        SCOPED_TRACE(c.name);
        const PngFixture fixture = c.make();
        const std::string path = folder + "/good.png";
        ASSERT_TRUE(writePng(path, fixture));

        const unsigned texture = load(path);
        ASSERT_NE(texture, 0u);
        const TextureLevel base = readTexture(texture, 0);
        EXPECT_EQ(base.width, fixture.width);
        EXPECT_EQ(base.height, fixture.height);
        EXPECT_EQ(base.internalFormat, c.internalFormat);
        for (int y = 0; y < fixture.height; ++y) {
            for (int x = 0; x < fixture.width; ++x) {
                const Rgba want = c.texel(x, y);
                const Rgba got = base.at(x, y);
                EXPECT_TRUE(near(got, want, 0)) << "texel " << x << "," << y << ": got " << got.r << " "
                                                << got.g << " " << got.b << " " << got.a;
            }
        }
        glDeleteTextures(1, &texture);
    }
}

TEST_F(PngTextureTest, BuildsEveryMipmapLevelByHalving) {
    // 4 x 2 texels: level 1 is 2 x 1, each texel the mean of a 2 x 2 block.
    PngFixture f = picture(4, 2, PNG_COLOR_TYPE_RGBA, 8, [](int x, int y) {
        return std::vector<int>{x < 2 ? 0 : 200, (x + y) % 2 * 100, y * 40, 255};
    });
    ASSERT_TRUE(writePng(folder + "/levels.png", f));
    const unsigned texture = load(folder + "/levels.png");
    ASSERT_NE(texture, 0u);

    const TextureLevel one = readTexture(texture, 1);
    ASSERT_EQ(one.width, 2);
    ASSERT_EQ(one.height, 1);
    EXPECT_TRUE(near(one.at(0, 0), Rgba{0, 50, 20, 255}, 1));
    EXPECT_TRUE(near(one.at(1, 0), Rgba{200, 50, 20, 255}, 1));
    const TextureLevel two = readTexture(texture, 2);
    EXPECT_EQ(two.width, 1);
    EXPECT_EQ(two.height, 1);
    EXPECT_TRUE(near(two.at(0, 0), Rgba{100, 50, 20, 255}, 1));
    EXPECT_EQ(readTexture(texture, 3).width, 0) << "no level past 1 x 1";

    // An odd, non-power-of-two picture keeps its size and still ends at 1 x 1.
    ASSERT_TRUE(writePng(folder + "/odd.png", picture(5, 3, PNG_COLOR_TYPE_RGB, 8, [](int, int) {
                             return std::vector<int>{10, 20, 30};
                         })));
    const unsigned odd = load(folder + "/odd.png");
    EXPECT_EQ(readTexture(odd, 0).width, 5);
    EXPECT_EQ(readTexture(odd, 1).width, 2);
    EXPECT_EQ(readTexture(odd, 1).height, 1);
    EXPECT_EQ(readTexture(odd, 2).width, 1);
    EXPECT_TRUE(near(readTexture(odd, 2).at(0, 0), Rgba{10, 20, 30, 255}, 0));
    glDeleteTextures(1, &texture);
    glDeleteTextures(1, &odd);
}

TEST_F(PngTextureTest, SetsTheAskedParametersAndRestoresTheCallersState) {
    ASSERT_TRUE(writePng(folder + "/p.png", solidPicture(3, 3, 0x10203040)));
    GLuint mine = 0;
    glGenTextures(1, &mine);
    glBindTexture(GL_TEXTURE_2D, mine);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 8);

    const unsigned texture = pngBind((folder + "/p.png").c_str(), GL_CLAMP, GL_NEAREST, GL_LINEAR);
    ASSERT_NE(texture, 0u);
    GLint bound = 0;
    GLint alignment = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(GLuint(bound), mine);
    EXPECT_EQ(alignment, 8);

    glBindTexture(GL_TEXTURE_2D, texture);
    GLint value = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &value);
    EXPECT_EQ(value, GL_CLAMP);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
    EXPECT_EQ(value, GL_NEAREST);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &value);
    EXPECT_EQ(value, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glDeleteTextures(1, &texture);
    glDeleteTextures(1, &mine);
}

// A complete grey picture of that size: a decoder that ignored the cap
// would accept it.
bool writeGreyStrip(const std::string& path, int width, int height) {
    return writePng(path, picture(width, height, PNG_COLOR_TYPE_GRAY, 8, [](int, int) { return std::vector<int>{90}; }));
}

// Signature, a header claiming width x height RGBA, a few bytes of image
// data and the end: what a hostile or broken file can claim in 70 bytes.
std::vector<unsigned char> claimedSize(unsigned width, unsigned height) {
    std::vector<unsigned char> file = pngSignature();
    appendChunk(file, "IHDR", headerChunk(width, height, 8, PNG_COLOR_TYPE_RGBA));
    appendChunk(file, "IDAT", {0x78, 0x9c, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});
    appendChunk(file, "IEND", {});
    return file;
}

TEST_F(PngTextureTest, AcceptsSidesUpToTheCap) {
    for (const auto& [width, height] : {std::pair{4096, 1}, std::pair{1, 4096}}) {
        ASSERT_TRUE(writeGreyStrip(folder + "/edge.png", width, height));
        const unsigned texture = load(folder + "/edge.png");
        ASSERT_NE(texture, 0u);
        EXPECT_EQ(readTexture(texture, 0).width, width);
        EXPECT_EQ(readTexture(texture, 0).height, height);
        glDeleteTextures(1, &texture);
    }
}

TEST_F(PngTextureTest, RefusesBadFilesSilentlyWithoutMakingATexture) {
    ASSERT_TRUE(writePng(folder + "/whole.png", solidPicture(16, 16, 0x11223344)));
    const std::vector<unsigned char> whole = readBytes(folder + "/whole.png");
    ASSERT_GT(whole.size(), 40u);

    struct BadCase {
        const char* name;
        std::function<void(const std::string&)> make;
    };
    const std::vector<BadCase> cases = {
        {"missing", [](const std::string&) {}},
        {"empty", [](const std::string& p) { writeBytes(p, {}); }},
        {"not a PNG", [](const std::string& p) { writeBytes(p, {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0}); }},
        {"signature only", [](const std::string& p) { writeBytes(p, pngSignature()); }},
        {"truncated", [&](const std::string& p) { writeBytes(p, {whole.begin(), whole.begin() + whole.size() / 2}); }},
        {"corrupted image data",
         [&](const std::string& p) {
             std::vector<unsigned char> bytes = whole;
             for (std::size_t i = 45; i < 55 && i < bytes.size(); ++i) {
                 bytes[i] ^= 0x5a;
             }
             writeBytes(p, bytes);
         }},
        {"a folder", [](const std::string& p) { mkdir(p.c_str(), 0700); }},
        {"a named pipe", [](const std::string& p) { mkfifo(p.c_str(), 0600); }},
        {"zero width", [](const std::string& p) { writeBytes(p, claimedSize(0, 4)); }},
        {"claims 30000 x 30000", [](const std::string& p) { writeBytes(p, claimedSize(30000, 30000)); }},
        {"4097 wide", [](const std::string& p) { writeGreyStrip(p, 4097, 1); }},
        {"4097 tall", [](const std::string& p) { writeGreyStrip(p, 1, 4097); }},
    };
    int index = 0;
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder + "/bad" + std::to_string(index++);
        c.make(path);
        const int texturesBefore = liveTextures();
        ::testing::internal::CaptureStderr();
        const unsigned texture = load(path);
        const std::string printed = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(texture, 0u);
        EXPECT_EQ(liveTextures(), texturesBefore);
        EXPECT_EQ(printed, "");
    }
}

// The process's peak resident size in kB since the last resetPeakResident.
long peakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

// Lowers the recorded peak to the present size, so earlier tests don't hide
// a peak of this one.
void resetPeakResident() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

TEST_F(PngTextureTest, RefusesAHugeClaimBeforeAllocatingIt) {
    ASSERT_TRUE(writeBytes(folder + "/huge.png", claimedSize(30000, 30000)));
    resetPeakResident();
    const long before = peakResidentKilobytes();
    ASSERT_GT(before, 0);
    EXPECT_EQ(load(folder + "/huge.png"), 0u);
    // 30000 x 30000 RGBA would be 3.6 GB; the refusal must come first.
    EXPECT_LT(peakResidentKilobytes() - before, 64L * 1024L);
}

// Sets or unsets VIEWING_GAMMA for one scope.
class ViewingGamma {
public:
    explicit ViewingGamma(const char* value) {
        const char* old = std::getenv("VIEWING_GAMMA");
        if (old != nullptr) {
            previous = old;
        }
        if (value != nullptr) {
            setenv("VIEWING_GAMMA", value, 1);
        } else {
            unsetenv("VIEWING_GAMMA");
        }
    }
    ~ViewingGamma() {
        if (previous) {
            setenv("VIEWING_GAMMA", previous->c_str(), 1);
        } else {
            unsetenv("VIEWING_GAMMA");
        }
    }

private:
    std::optional<std::string> previous;
};

TEST_F(PngTextureTest, ViewingGammaCorrectsAgainstTheFilesGamma) {
    struct GammaCase {
        const char* viewing;  // VIEWING_GAMMA, or null for unset
        double fileGamma;     // gAMA chunk, 0 for none
        int expected;         // decoded value of a stored 128
    };
    // out = 255 * (128 / 255) ^ (1 / (fileGamma * viewing)).
    const GammaCase cases[] = {
        {nullptr, 0.45455, 128},
        {"1.0", 0.45455, 56},
        {"2.2", 0.45455, 128},
        {"2.2", 1.0, 186},
        {"1.0", 0.0, 56},  // no gAMA: taken as the usual 1 / 2.2
        {"0", 0.45455, 128},
        {"-1", 0.45455, 128},
        {"abc", 0.45455, 128},
        {"100", 0.45455, 251},   // the largest screen gamma taken
        {"0.01", 0.45455, 0},    // the smallest
        {"1e9", 0.45455, 128},   // beyond what libpng accepts: no correction rather than no picture
        {"", 0.45455, 128},
    };
    for (const GammaCase& c : cases) {
        SCOPED_TRACE(std::string("VIEWING_GAMMA=") + (c.viewing ? c.viewing : "(unset)") +
                     " gAMA=" + std::to_string(c.fileGamma));
        PngFixture f = picture(2, 1, PNG_COLOR_TYPE_GRAY, 8, [](int, int) { return std::vector<int>{128}; });
        f.gamma = c.fileGamma;
        ASSERT_TRUE(writePng(folder + "/grey.png", f));
        ViewingGamma gamma(c.viewing);
        const unsigned texture = load(folder + "/grey.png");
        ASSERT_NE(texture, 0u);
        EXPECT_NEAR(readTexture(texture, 0).at(0, 0).r, c.expected, 2);
        glDeleteTextures(1, &texture);
    }
}

}  // namespace
