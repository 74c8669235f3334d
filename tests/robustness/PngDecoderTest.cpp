#include "draw/PngDecoder.h"

#include "BadFiles.h"
#include "fuzz/PngChunkChecksums.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

const std::string sourceDir = BLOOMCROSS_SOURCE_DIR;

Bytes readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The regular files of a folder, sorted; none when it doesn't exist.
std::vector<std::string> filesIn(const std::string& folder, const std::string& ending = "") {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name[0] != '.' && name.size() >= ending.size() &&
                name.compare(name.size() - ending.size(), ending.size(), ending) == 0) {
                names.push_back(folder + "/" + name);
            }
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The process's largest address space so far, in kB. A refusal that comes
// after the allocation still moves it, even when no page was touched.
long peakVirtualKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmPeak:", 0) == 0) {
            return std::stol(line.substr(7));
        }
    }
    return -1;
}

// AddressSanitizer reserves its heap up front, so the address space says
// nothing about an allocation there.
#ifdef __SANITIZE_ADDRESS__
constexpr bool addressSpaceTellsAllocations = false;
#else
constexpr bool addressSpaceTellsAllocations = true;
#endif

void expectWholePicture(const PngPicture& p) {
    EXPECT_GE(p.width, 1u);
    EXPECT_GE(p.height, 1u);
    EXPECT_LE(p.width, pngMaxSide);
    EXPECT_LE(p.height, pngMaxSide);
    EXPECT_LE(std::size_t(p.width) * p.height, pngMaxTexels);
    EXPECT_TRUE(p.channels == 3 || p.channels == 4);
    EXPECT_EQ(p.pixels.size(), std::size_t(p.width) * p.height * p.channels);
}

// Every input the fuzzer ever failed on, and the pictures it starts from,
// replayed the way the fuzzer hands them over. The sanitizer build turns a
// stray read or write into a failure here.
TEST(PngDecoder, ReplaysEveryKeptFuzzInputSafely) {
    std::vector<std::string> inputs = filesIn(sourceDir + "/tests/robustness/png-regressions");
    const std::vector<std::string> seeds = filesIn(sourceDir + "/tests/robustness/png-seeds", ".png");
    ASSERT_FALSE(seeds.empty());
    inputs.insert(inputs.end(), seeds.begin(), seeds.end());
    for (const std::string& path : inputs) {
        SCOPED_TRACE(path);
        Bytes file = readFile(path);
        fixPngChunkChecksums(file);
        for (double gamma : {0.0, 1.0, 2.2}) {
            PngPicture picture;
            if (decodePng(file, gamma, picture)) {
                expectWholePicture(picture);
            } else {
                EXPECT_EQ(picture.width, 0u);
                EXPECT_TRUE(picture.pixels.empty());
            }
        }
    }
    for (const std::string& path : seeds) {
        PngPicture picture;
        EXPECT_TRUE(decodePng(readFile(path), 0.0, picture)) << path << " is a valid picture";
    }
}

// The limits leave room for the game's own art.
TEST(PngDecoder, DecodesEveryPictureOfTheGame) {
    const std::vector<std::string> pictures = filesIn(sourceDir + "/assets/images", ".png");
    if (pictures.empty()) {
        GTEST_SKIP() << "no pictures in assets/images yet";
    }
    for (const std::string& path : pictures) {
        PngPicture picture;
        EXPECT_TRUE(decodePng(readFile(path), 0.0, picture)) << path;
        expectWholePicture(picture);
    }
}

TEST(PngDecoder, RefusesOversizedPicturesBeforeInflatingThem) {
    struct SizeCase {
        const char* name;
        Bytes file;
        bool taken;
    };
    const SizeCase cases[] = {
        {"1024 x 1024, the most texels", zeroPng(1024, 1024), true},
        {"4096 x 1, the longest side", zeroPng(4096, 1), true},
        {"1 x 4096", zeroPng(1, 4096), true},
        {"1025 x 1024, one row of texels too many", zeroPng(1025, 1024), false},
        {"4097 x 1, a side too long", zeroPng(4097, 1), false},
        {"4096 x 4096 of zeros, 66 KB inflating to 64 MB", zeroPng(4096, 4096), false},
        {"30000 x 30000 of zeros, 3.5 MB inflating to 3.6 GB", zeroPng(30000, 30000), false},
        {"a header claiming 30000 x 30000", claimPng(30000, 30000), false},
        {"a header claiming 0 x 4", claimPng(0, 4), false},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.name);
        PngPicture picture;
        const long before = peakVirtualKilobytes();
        EXPECT_EQ(decodePng(c.file, 0.0, picture), c.taken);
        if (c.taken) {
            expectWholePicture(picture);
        } else if (addressSpaceTellsAllocations) {
            EXPECT_LT(peakVirtualKilobytes() - before, 8L * 1024L);
        }
    }
}

// libpng reserves a text chunk's declared size before reading it, past its
// own chunk limit: a chunk claiming more than the file holds must be refused
// first, whether it comes before the pixels or after them.
TEST(PngDecoder, RefusesChunksRunningPastTheEndOfTheFile) {
    const Bytes picture = zeroPng(4, 4);
    const std::size_t afterHeader = 8 + 25;  // signature, then IHDR with its length and CRC
    const Bytes claim = {0x70, 0x00, 0x00, 0x00, 't', 'E', 'X', 't', 'k', 'e', 'y', 0};  // 1.8 GB

    struct ChunkCase {
        const char* name;
        Bytes file;
    };
    const ChunkCase cases[] = {
        {"before the pixels", [&] {
             Bytes f(picture.begin(), picture.begin() + afterHeader);
             f.insert(f.end(), claim.begin(), claim.end());
             f.insert(f.end(), picture.begin() + afterHeader, picture.end());
             return f;
         }()},
        {"in place of IEND", [&] {
             Bytes f(picture.begin(), picture.end() - 12);
             f.insert(f.end(), claim.begin(), claim.end());
             return f;
         }()},
        {"a chunk header cut short", Bytes(picture.begin(), picture.end() - 6)},
    };
    for (const ChunkCase& c : cases) {
        SCOPED_TRACE(c.name);
        PngPicture out;
        const long before = peakVirtualKilobytes();
        EXPECT_FALSE(decodePng(c.file, 0.0, out));
        if (addressSpaceTellsAllocations) {
            EXPECT_LT(peakVirtualKilobytes() - before, 8L * 1024L);
        }
    }
    PngPicture whole;
    EXPECT_TRUE(decodePng(picture, 0.0, whole)) << "the picture the cases are made from";
}

}  // namespace
