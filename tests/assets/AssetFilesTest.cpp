// The files the game reads from its working folder: each one is there and
// decodes, and each picture and sound suits the way the game uses it.
#include <SDL.h>
#include <SDL_mixer.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const std::string assets = std::string(BLOOMCROSS_SOURCE_DIR) + "/assets/";

struct Picture {
    int width = 0;
    int height = 0;
    bool fileHasAlpha = false;
    std::vector<unsigned char> rgba;  // straight RGBA, rows top first
    std::string error;

    double alpha(int x, int y) const { return rgba[(std::size_t(y) * width + x) * 4 + 3] / 255.0; }
    double channel(int x, int y, int c) const { return rgba[(std::size_t(y) * width + x) * 4 + c] / 255.0; }
};

Picture loadPicture(const std::string& name) {
    Picture p;
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    const std::string path = assets + "images/" + name;
    if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
        p.error = path + ": " + image.message;
        return p;
    }
    p.fileHasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    image.format = PNG_FORMAT_RGBA;
    p.width = int(image.width);
    p.height = int(image.height);
    p.rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (png_image_finish_read(&image, nullptr, p.rgba.data(), 0, nullptr) == 0) {
        p.error = path + ": " + image.message;
    }
    return p;
}

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// Texels at least half covered, as a mask.
std::vector<bool> silhouette(const Picture& p) {
    std::vector<bool> mask(std::size_t(p.width) * p.height, false);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            mask[std::size_t(y) * p.width + x] = p.alpha(x, y) >= 0.5;
        }
    }
    return mask;
}

const char* const fullViewPictures[] = {"background.png", "titlescreen.png", "instructions.png", "gameover.png"};
const char* const organPictures[] = {"pistil.png", "pistil2.png", "pistil3.png", "leaf.png", "leaf2.png",
                                     "leaf3.png",  "petal.png",   "petal2.png",  "petal3.png"};
const char* const hangingOrgans[] = {"leaf.png", "leaf2.png", "leaf3.png", "petal.png", "petal2.png", "petal3.png"};
const char* const spritePictures[] = {"pistil.png", "pistil2.png", "pistil3.png", "leaf.png",  "leaf2.png",
                                      "leaf3.png",  "petal.png",   "petal2.png",  "petal3.png", "seed.png",
                                      "selector.png", "target5.png"};

TEST(AssetPictures, EveryPictureDecodesAtPowerOfTwoSize) {
    for (const char* name : fullViewPictures) {
        const Picture p = loadPicture(name);
        ASSERT_TRUE(p.error.empty()) << p.error;
        EXPECT_TRUE(isPowerOfTwo(p.width) && isPowerOfTwo(p.height)) << name << " " << p.width << "x" << p.height;
        EXPECT_GE(p.width, 1024) << name << " is stretched over 800 x 600 pixels";
    }
    for (const char* name : spritePictures) {
        const Picture p = loadPicture(name);
        ASSERT_TRUE(p.error.empty()) << p.error;
        EXPECT_TRUE(isPowerOfTwo(p.width)) << name;
        EXPECT_EQ(p.width, p.height) << name << " is drawn on a square";
    }
}

// The title, instructions and game-over pictures are drawn without blending,
// the background under the alpha test: a clear texel would show as a hole.
TEST(AssetPictures, FullViewPicturesAreOpaque) {
    for (const char* name : fullViewPictures) {
        const Picture p = loadPicture(name);
        ASSERT_TRUE(p.error.empty()) << p.error;
        int clear = 0;
        for (std::size_t i = 3; i < p.rgba.size(); i += 4) {
            clear += p.rgba[i] != 255;
        }
        EXPECT_EQ(clear, 0) << name;
    }
}

// Sprites lie over the garden: they need alpha, and a clear margin all round
// since clamped linear filtering blends the border colour into edge texels.
TEST(AssetPictures, SpritesAreClearRoundTheirPictureAndAtTheirEdges) {
    for (const char* name : spritePictures) {
        const Picture p = loadPicture(name);
        ASSERT_TRUE(p.error.empty()) << p.error;
        EXPECT_TRUE(p.fileHasAlpha) << name;
        int clear = 0;
        int solid = 0;
        int edgeCovered = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const double a = p.alpha(x, y);
                clear += a == 0.0;
                solid += a >= 0.99;
                const bool edge = x < 2 || y < 2 || x >= p.width - 2 || y >= p.height - 2;
                edgeCovered += edge && a > 0.0;
            }
        }
        const double texels = double(p.width) * p.height;
        EXPECT_GT(clear / texels, 0.2) << name;
        EXPECT_GT(solid / texels, 0.03) << name;
        EXPECT_EQ(edgeCovered, 0) << name;
    }
}

// Every organ texel is multiplied by a trait colour, so the organs are white
// to pale grey: a coloured or dark picture would change the traits' colours.
TEST(AssetPictures, OrganPicturesArePaleAndUncoloured) {
    for (const char* name : organPictures) {
        const Picture p = loadPicture(name);
        ASSERT_TRUE(p.error.empty()) << p.error;
        double sum[3] = {0.0, 0.0, 0.0};
        double spread = 0.0;
        int count = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                if (p.alpha(x, y) < 0.5) {
                    continue;
                }
                double lo = 1.0;
                double hi = 0.0;
                for (int c = 0; c < 3; ++c) {
                    sum[c] += p.channel(x, y, c);
                    lo = std::min(lo, p.channel(x, y, c));
                    hi = std::max(hi, p.channel(x, y, c));
                }
                spread += hi - lo;
                ++count;
            }
        }
        ASSERT_GT(count, 0) << name;
        for (int c = 0; c < 3; ++c) {
            EXPECT_GT(sum[c] / count, 0.8) << name << " channel " << c;
        }
        EXPECT_LT(spread / count, 0.03) << name;
    }
    // The seed is tinted too: light enough that the tint shows.
    const Picture seed = loadPicture("seed.png");
    ASSERT_TRUE(seed.error.empty()) << seed.error;
    double seedSum = 0.0;
    int seedCount = 0;
    for (int y = 0; y < seed.height; ++y) {
        for (int x = 0; x < seed.width; ++x) {
            if (seed.alpha(x, y) >= 0.9) {
                seedSum += (seed.channel(x, y, 0) + seed.channel(x, y, 1) + seed.channel(x, y, 2)) / 3.0;
                ++seedCount;
            }
        }
    }
    ASSERT_GT(seedCount, 0);
    EXPECT_GT(seedSum / seedCount, 0.6);
}

// The shape traits pick one of three pictures: they must look different.
TEST(AssetPictures, EachOrgansThreeShapesHaveDifferentSilhouettes) {
    const char* const families[][3] = {{"pistil.png", "pistil2.png", "pistil3.png"},
                                       {"leaf.png", "leaf2.png", "leaf3.png"},
                                       {"petal.png", "petal2.png", "petal3.png"}};
    for (const auto& family : families) {
        std::vector<std::vector<bool>> masks;
        for (const char* name : family) {
            const Picture p = loadPicture(name);
            ASSERT_TRUE(p.error.empty()) << p.error;
            masks.push_back(silhouette(p));
        }
        for (int a = 0; a < 3; ++a) {
            for (int b = a + 1; b < 3; ++b) {
                ASSERT_EQ(masks[a].size(), masks[b].size()) << family[a] << " " << family[b];
                int both = 0;
                int either = 0;
                for (std::size_t i = 0; i < masks[a].size(); ++i) {
                    both += masks[a][i] && masks[b][i];
                    either += masks[a][i] || masks[b][i];
                }
                EXPECT_LT(double(both) / either, 0.8) << family[a] << " and " << family[b] << " overlap too much";
            }
        }
    }
}

// A leaf hangs from its anchor and a petal stands out from the ring's centre:
// the game puts the picture's bottom edge at the anchor and its top away from
// it, so each grows from the bottom centre up to the top.
TEST(AssetPictures, LeavesAndPetalsGrowFromTheBottomCentreToTheTop) {
    for (const char* name : hangingOrgans) {
        const Picture p = loadPicture(name);
        ASSERT_TRUE(p.error.empty()) << p.error;
        int top = p.height;
        int bottom = -1;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                if (p.alpha(x, y) >= 0.5) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        ASSERT_GE(bottom, 0) << name;
        EXPECT_GE(bottom, p.height * 9 / 10) << name << " does not reach down to its anchor";
        EXPECT_LE(top, p.height / 8) << name << " does not reach the top";
        double sumX = 0.0;
        int count = 0;
        for (int x = 0; x < p.width; ++x) {
            if (p.alpha(x, bottom) >= 0.5) {
                sumX += x + 0.5;
                ++count;
            }
        }
        const double foot = sumX / count / p.width;
        EXPECT_NEAR(foot, 0.5, 0.05) << name << " foot is off centre";
        EXPECT_LE(count, p.width / 6) << name << " foot is wider than a stalk";
    }
}

// The pistil sits on the petals' feet, which come within a quarter of the
// pistil's side of its centre: it must cover that disc.
TEST(AssetPictures, PistilsCoverTheMiddleOfThePetalRing) {
    for (const char* name : {"pistil.png", "pistil2.png", "pistil3.png"}) {
        const Picture p = loadPicture(name);
        ASSERT_TRUE(p.error.empty()) << p.error;
        const double c = p.width / 2.0;
        int holes = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                const double r = std::hypot(x + 0.5 - c, y + 0.5 - c) / p.width;
                holes += r < 0.25 && p.alpha(x, y) < 0.99;
            }
        }
        EXPECT_EQ(holes, 0) << name;
    }
}

// The marker is drawn over a seed or a bloom, which must show through it.
TEST(AssetPictures, SelectorIsALightRingWithAClearMiddle) {
    const Picture p = loadPicture("selector.png");
    ASSERT_TRUE(p.error.empty()) << p.error;
    const double c = p.width / 2.0;
    int coveredInside = 0;
    int ring = 0;
    double ringLight = 0.0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const double r = std::hypot(x + 0.5 - c, y + 0.5 - c) / p.width;
            if (r < 0.3) {
                coveredInside += p.alpha(x, y) > 0.0;
            } else if (p.alpha(x, y) >= 0.99) {
                ++ring;
                ringLight += p.channel(x, y, 1);
            }
        }
    }
    EXPECT_EQ(coveredInside, 0);
    ASSERT_GT(ring, 0);
    EXPECT_GT(ringLight / ring, 0.8) << "the ring is tinted white and green: it has to be light";
}

// The goal icon has to show the goal: yellow pistil, green leaves and stem,
// white petals.
TEST(AssetPictures, GoalIconShowsTheGoalsColours) {
    const Picture p = loadPicture("target5.png");
    ASSERT_TRUE(p.error.empty()) << p.error;
    int yellow = 0;
    int green = 0;
    int white = 0;
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            if (p.alpha(x, y) < 0.99) {
                continue;
            }
            const double r = p.channel(x, y, 0);
            const double g = p.channel(x, y, 1);
            const double b = p.channel(x, y, 2);
            yellow += r > 0.75 && g > 0.75 && b < 0.3;
            green += g > 0.7 && r < 0.3 && b < 0.3;
            white += r > 0.85 && g > 0.85 && b > 0.85;
        }
    }
    const int texels = p.width * p.height;
    EXPECT_GT(yellow, texels / 100);
    EXPECT_GT(green, texels / 100);
    EXPECT_GT(white, texels / 30);
}

TEST(AssetFont, FontRendersEveryPrintableCharacterWithItsLicenceBeside) {
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face = nullptr;
    const std::string path = assets + "fonts/rabiohead.ttf";
    ASSERT_EQ(FT_New_Face(library, path.c_str(), 0, &face), 0) << path;
    EXPECT_TRUE(FT_IS_SFNT(face) && (face->face_flags & FT_FACE_FLAG_SCALABLE));
    ASSERT_EQ(FT_Set_Char_Size(face, 46 * 64, 46 * 64, 96, 96), 0);
    for (FT_ULong c = 32; c < 127; ++c) {
        const FT_UInt index = FT_Get_Char_Index(face, c);
        EXPECT_NE(index, 0u) << "no glyph for '" << char(c) << "'";
        ASSERT_EQ(FT_Load_Glyph(face, index, FT_LOAD_RENDER), 0) << char(c);
        if (c != ' ') {
            EXPECT_GT(face->glyph->bitmap.width * face->glyph->bitmap.rows, 0u) << char(c);
        }
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    std::ifstream licence(assets + "fonts/LICENSE-Comfortaa.txt");
    const std::string text((std::istreambuf_iterator<char>(licence)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("SIL OPEN FONT LICENSE"), std::string::npos);
}

// The sound tests decode with the game's own audio library on its silent
// driver, at the format the game mixes in.
class AssetSounds : public ::testing::Test {
protected:
    static constexpr int rate = 44100;
    static constexpr int channels = 2;

    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudioDevice(rate, AUDIO_S16SYS, channels, 1024, nullptr, 0), 0) << Mix_GetError();
        Mix_Init(MIX_INIT_MP3);
    }
    void TearDown() override {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_Quit();
    }

    // The whole file decoded to interleaved 16-bit stereo at 44100 Hz.
    static std::vector<std::int16_t> decode(const std::string& path) {
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        if (chunk == nullptr) {
            return {};
        }
        std::vector<std::int16_t> samples(chunk->alen / sizeof(std::int16_t));
        std::memcpy(samples.data(), chunk->abuf, samples.size() * sizeof(std::int16_t));
        Mix_FreeChunk(chunk);
        return samples;
    }
};

std::uint32_t little32(const std::vector<char>& b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}

TEST_F(AssetSounds, RewardSoundIsAShortPcmWavAt44100HzIn16Bits) {
    const std::string path = assets + "audio/wow.wav";
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 44u) << path;
    ASSERT_EQ(std::string(bytes.data(), 4), "RIFF");
    ASSERT_EQ(std::string(bytes.data() + 8, 4), "WAVE");
    std::size_t at = 12;
    std::uint32_t rateInFile = 0;
    std::uint32_t bytesPerSecond = 0;
    int format = 0;
    int bits = 0;
    std::uint32_t dataBytes = 0;
    while (at + 8 <= bytes.size()) {
        const std::string id(bytes.data() + at, 4);
        const std::uint32_t size = little32(bytes, at + 4);
        if (id == "fmt ") {
            format = std::uint8_t(bytes[at + 8]) | std::uint8_t(bytes[at + 9]) << 8;
            rateInFile = little32(bytes, at + 12);
            bytesPerSecond = little32(bytes, at + 16);
            bits = std::uint8_t(bytes[at + 22]);
        } else if (id == "data") {
            dataBytes = size;
        }
        at += 8 + size + (size & 1);
    }
    EXPECT_EQ(format, 1) << "PCM";
    EXPECT_EQ(rateInFile, 44100u);
    EXPECT_EQ(bits, 16);
    ASSERT_GT(bytesPerSecond, 0u);
    const double seconds = double(dataBytes) / bytesPerSecond;
    EXPECT_GT(seconds, 0.1);
    EXPECT_LT(seconds, 1.0);
    EXPECT_FALSE(decode(path).empty()) << Mix_GetError();
}

// The tune loops for as long as the game runs. Where its end meets its start
// there must be no jump: the end has died away and the start rises from near
// silence, so even a decoder that slips a little silence in between (as MP3
// decoders without gapless playback do) makes no click.
TEST_F(AssetSounds, TuneLoopsWithoutAJumpAtItsSeam) {
    const std::string path = assets + "audio/backgroundmusic.mp3";
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    EXPECT_NE(music, nullptr) << Mix_GetError();
    if (music != nullptr) {
        Mix_FreeMusic(music);
    }
    const std::vector<std::int16_t> samples = decode(path);
    ASSERT_FALSE(samples.empty()) << Mix_GetError();
    const std::size_t frames = samples.size() / channels;
    const double seconds = double(frames) / rate;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 90.0);

    auto level = [&](std::size_t from, std::size_t count) {  // RMS, 0..1
        double sum = 0.0;
        for (std::size_t i = from * channels; i < (from + count) * channels; ++i) {
            sum += double(samples[i]) * samples[i];
        }
        return std::sqrt(sum / double(count * channels)) / 32768.0;
    };
    const double overall = level(0, frames);
    EXPECT_GT(overall, 0.03) << "the tune is all but silent";
    const std::size_t window = rate / 50;  // 20 ms
    EXPECT_LT(level(frames - window, window), 0.005) << "the tune is still sounding at its end";
    for (int c = 0; c < channels; ++c) {
        const double last = samples[(frames - 1) * channels + c] / 32768.0;
        const double first = samples[c] / 32768.0;
        EXPECT_LT(std::fabs(first), 0.01) << "channel " << c << " starts with a step";
        EXPECT_LT(std::fabs(last - first), 0.01) << "channel " << c << " jumps at the seam";
    }
}

}  // namespace
